// The assets the program carries: every one extracts and loads without a message, the
// models hold the chunk layout a modeller writes, and their sizes fit the scenery's
// placements (floor lowered by 2.8, columns 2.5 off the axes on the floor, arches turned
// a quarter about y and raised to 0.96 across the column tops).

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "assets/asset_files.h"
#include "assets/asset_folder.h"
#include "assets/model_3ds.h"
#include "assets/texture_loader.h"
#include "assets/texture_service.h"
#include "chunk_builder.h"
#include "recording_reports.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

using namespace orvane::testing;

// Decodes for real what the reader asks for, recording the names.
class DecodingTextures : public TextureService {
 public:
  explicit DecodingTextures(AssetReporter reporter) : reporter_(std::move(reporter)) {}
  bool LoadTexture(const std::string& fileName, uint32_t& textureId) override {
    Names.push_back(fileName.substr(AssetFolder.size()));
    const auto image = ReadTextureImage(fileName, false, reporter_);
    if (!image) return false;
    Sizes.push_back({image->Width, image->Height});
    textureId = static_cast<uint32_t>(Names.size());
    return true;
  }
  void DeleteTexture(uint32_t) override {}
  std::vector<std::string> Names;
  std::vector<std::pair<int, int>> Sizes;

 private:
  AssetReporter reporter_;
};

class ShippedAssets : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::string_view file : AssetFiles) {
      ExtractResource("BINARY", ResourceNameOf(file), dir.Folder() + std::string(file));
    }
    AssetFolder = dir.Folder();
  }
  void TearDown() override { AssetFolder.clear(); }

  // Loads a model; returns the texture names its materials asked for, sorted.
  std::vector<std::string> Load(T3DModel& model, const std::string& file) {
    textures.Names.clear();
    EXPECT_TRUE(model.LoadFromFile(file)) << file;
    std::vector<std::string> names = textures.Names;
    std::sort(names.begin(), names.end());
    return names;
  }

  ScratchDir dir;
  RecordingReports reports;
  DecodingTextures textures{reports.Reporter()};
};

struct Box {
  TVector3 Min{1e9f, 1e9f, 1e9f}, Max{-1e9f, -1e9f, -1e9f};
  float SizeX() const { return Max.x - Min.x; }
  float SizeY() const { return Max.y - Min.y; }
  float SizeZ() const { return Max.z - Min.z; }
};

Box Bounds(const T3DModel& model, bool meshesOnly = true) {
  Box box;
  for (const T3DObject& o : model.Objects) {
    if (o.Vertices.empty() || (meshesOnly && o.Faces.empty())) continue;
    box.Min = {std::min(box.Min.x, o.Min.x), std::min(box.Min.y, o.Min.y), std::min(box.Min.z, o.Min.z)};
    box.Max = {std::max(box.Max.x, o.Max.x), std::max(box.Max.y, o.Max.y), std::max(box.Max.z, o.Max.z)};
  }
  return box;
}

// The models are (nearly) closed solids: with every face counter-clockwise seen from
// outside, the signed volume is the solid's volume; faces turned inside out subtract.
double SignedVolume(const T3DModel& model) {
  double volume = 0.0;
  for (const T3DObject& o : model.Objects) {
    for (const TFace& f : o.Faces) {
      const TVector3 x = VectorCross(o.Vertices[f.b], o.Vertices[f.c]);
      const TVector3& a = o.Vertices[f.a];
      volume += double(a.x) * x.x + double(a.y) * x.y + double(a.z) * x.z;
    }
  }
  return volume / 6.0;
}

TEST_F(ShippedAssets, ModelsLoadWithTheirTexturesAndNoMessage) {
  T3DModel floor(reports.Reporter(), &textures), column(reports.Reporter(), &textures),
      arc(reports.Reporter(), &textures), camera(reports.Reporter(), &textures);
  EXPECT_EQ(Load(floor, "floor.3ds"), (std::vector<std::string>{"LIMESTO3.JPG", "STUCCO.JPG"}));
  EXPECT_EQ(Load(column, "column.3ds"),
            (std::vector<std::string>{"GRYDIRT2.JPG", "SAND3.JPG", "STUCCO4.JPG", "YELLOBRK.JPG"}));
  EXPECT_EQ(Load(arc, "arc.3ds"), (std::vector<std::string>{"OVLOGO.JPG", "STUCCO.JPG", "STUCCO4.JPG"}));
  EXPECT_TRUE(Load(camera, "camera.3ds").empty());
  EXPECT_TRUE(reports.Messages.empty());
  for (const T3DModel* model : {&floor, &column, &arc, &camera}) {
    for (const T3DObject& o : model->Objects) {
      if (o.Faces.empty()) continue;
      EXPECT_EQ(o.Material.HasTexture, !o.Material.TextureFile.empty()) << o.Name;
      EXPECT_EQ(o.TexCoordCount, o.VertexCount) << o.Name;
      EXPECT_GT(o.Material.Diffuse.Color[0], 0.0f) << o.Name;
      for (const TVector3& n : o.Normals) ASSERT_NEAR(VectorLength(n), 1.0f, 1e-4) << o.Name;
    }
  }
  // Faces counter-clockwise from outside give a positive volume that fits in the bounds;
  // faces turned inside out would subtract from it.
  for (const T3DModel* model : {&floor, &column, &arc, &camera}) {
    const Box b = Bounds(*model);
    const double boxVolume = double(b.Max.x - b.Min.x) * (b.Max.y - b.Min.y) * (b.Max.z - b.Min.z);
    const double volume = SignedVolume(*model);
    EXPECT_GT(volume, 0.1 * boxVolume);
    EXPECT_LT(volume, boxVolume);
  }
  // Sides that are not powers of two, as GLU will scale them.
  for (const auto& [w, h] : textures.Sizes) {
    EXPECT_TRUE(w == 756 || w == 378 || w == 250) << w;
    EXPECT_TRUE(h == 512 || h == 256 || h == 176) << h;
  }
}

TEST_F(ShippedAssets, ModelsFitTheirPlacesInTheScenery) {
  T3DModel floor(reports.Reporter(), &textures), column(reports.Reporter(), &textures),
      arc(reports.Reporter(), &textures), camera(reports.Reporter(), &textures);
  Load(floor, "floor.3ds");
  Load(column, "column.3ds");
  Load(arc, "arc.3ds");
  Load(camera, "camera.3ds");

  const Box f = Bounds(floor);
  EXPECT_NEAR(f.Min.x, -3.5f, 0.3f);
  EXPECT_NEAR(f.Max.x, 3.5f, 0.3f);
  EXPECT_NEAR(f.Min.z, -3.5f, 0.3f);
  EXPECT_NEAR(f.Max.z, 3.5f, 0.3f);
  EXPECT_NEAR(f.Max.y - 2.8f, -2.6f, 0.08f);
  // The slabs the columns stand on are exactly where the columns are put.
  const auto slabs =
      std::find_if(floor.Objects.begin(), floor.Objects.end(), [](auto& o) { return o.Name == "Slabs"; });
  ASSERT_NE(slabs, floor.Objects.end());
  EXPECT_NEAR(slabs->Max.y - 2.8f, -2.6f, 1e-5f);
  EXPECT_GT(slabs->Max.x, 2.5f + 0.4f);

  const Box c = Bounds(column);
  EXPECT_NEAR(c.Min.y, 0.0f, 1e-5f);
  EXPECT_NEAR(c.SizeY(), 3.5f, 0.1f);
  EXPECT_LT(std::max(c.SizeX(), c.SizeZ()), 0.8f);
  EXPECT_NEAR(c.Min.x + c.Max.x, 0.0f, 1e-4f);
  // Column top (placed at -2.6) meets the arch foot (placed at 0.96).
  const Box a = Bounds(arc);
  EXPECT_NEAR(-2.6f + c.Max.y, 0.96f + a.Min.y, 0.01f);

  // Along its x the arch reaches over both column tops, 5 apart; its feet rest on them.
  const float halfTop = c.SizeX() / 2;
  EXPECT_LE(a.Min.x, -2.5f - halfTop + 0.05f);
  EXPECT_GE(a.Max.x, 2.5f + halfTop - 0.05f);
  EXPECT_LT(a.SizeX(), 5.0f + 2 * halfTop + 0.3f);
  EXPECT_LE(a.SizeZ(), c.SizeZ() + 1e-4f);
  for (const T3DObject& o : arc.Objects) {
    for (const TVector3& v : o.Vertices) {
      if (v.y < 0.01f && !o.Faces.empty()) {
        EXPECT_LE(std::abs(std::abs(v.x) - 2.5f), halfTop + 1e-4f) << o.Name;
      }
    }
  }
  // The logo plate looks along +z of the arch: inward for the arch at x = -2.5.
  const auto logo = std::find_if(arc.Objects.begin(), arc.Objects.end(), [](auto& o) { return o.Name == "ArchLogo"; });
  ASSERT_NE(logo, arc.Objects.end());
  EXPECT_EQ(logo->Material.TextureFile, "OVLOGO.JPG");
  EXPECT_GT(logo->Normals.front().z, 0.99f);

  const Box k = Bounds(camera);
  const float longest = std::max({k.SizeX(), k.SizeY(), k.SizeZ()});
  EXPECT_GT(longest, 0.3f);
  EXPECT_LT(longest, 0.45f);
  EXPECT_GT(k.Max.x, -k.Min.x);  // the lens points along +x
}

TEST_F(ShippedAssets, ParticleSpriteLoadsFromTheStore) {
  const auto sprite = ReadTextureImage("particle.BMP", true, reports.Reporter());
  ASSERT_TRUE(sprite);
  EXPECT_TRUE(reports.Messages.empty());
  EXPECT_EQ(sprite->Width, 48);
  EXPECT_EQ(sprite->Height, 48);
  EXPECT_EQ(sprite->Format, TexturePixelFormat::Rgb);
  auto at = [&](int x, int y) { return sprite->Pixels[3 * (y * 48 + x)]; };
  EXPECT_EQ(at(24, 24), 255);
  EXPECT_EQ(at(0, 0), 0);
  EXPECT_GT(at(24, 24), at(30, 24));
  EXPECT_GT(at(30, 24), at(40, 24));
  const AssetLookup raw = EmbeddedAssets().Find("BMP", "PARTICLE");
  ASSERT_EQ(raw.Status, AssetLookupStatus::Found);
  const uint32_t imageSize = raw.Bytes[34] | raw.Bytes[35] << 8 | raw.Bytes[36] << 16 | uint32_t(raw.Bytes[37]) << 24;
  EXPECT_EQ(imageSize, 6914u);
  EXPECT_EQ(raw.Bytes[28], 24);
}

// --- The chunk layout --------------------------------------------------------------------

struct Node {
  uint16_t Id = 0;
  std::string Data;  // the bytes before the sub-chunks
  std::vector<Node> Kids;
  const Node* Find(uint16_t id) const {
    for (const Node& k : Kids)
      if (k.Id == id) return &k;
    return nullptr;
  }
};

// How many data bytes come before the sub-chunks of a container chunk.
size_t DataBytes(uint16_t id, const std::string& body) {
  switch (id) {
    case 0x4D4D:
    case 0x3D3D:
    case 0x4100:
    case 0xAFFF:
    case 0xA010:
    case 0xA020:
    case 0xA030:
    case 0xA040:
    case 0xA050:
    case 0xA200:
    case 0xB000: return 0;
    case 0x4000: return body.find('\0') + 1;
    case 0x4120: return 2 + 8 * size_t(uint8_t(body[0]) | uint8_t(body[1]) << 8);
    default: return body.size();
  }
}

std::vector<Node> Parse(const std::string& bytes) {
  std::vector<Node> nodes;
  size_t at = 0;
  while (at + 6 <= bytes.size()) {
    Node n;
    n.Id = uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
    const uint32_t length = uint8_t(bytes[at + 2]) | uint8_t(bytes[at + 3]) << 8 | uint8_t(bytes[at + 4]) << 16 |
                            uint32_t(uint8_t(bytes[at + 5])) << 24;
    EXPECT_GE(length, 6u);
    EXPECT_LE(at + length, bytes.size());
    const std::string body = bytes.substr(at + 6, length - 6);
    const size_t data = DataBytes(n.Id, body);
    n.Data = body.substr(0, data);
    n.Kids = Parse(body.substr(data));
    nodes.push_back(std::move(n));
    at += length;
  }
  EXPECT_EQ(at, bytes.size());
  return nodes;
}

std::vector<uint16_t> Ids(const Node& n) {
  std::vector<uint16_t> ids;
  for (const Node& k : n.Kids) ids.push_back(k.Id);
  return ids;
}

TEST_F(ShippedAssets, ModelsHoldTheLayoutAModellerWrites) {
  int cameras = 0, twoVertexObjects = 0;
  for (const char* file : {"floor.3ds", "column.3ds", "arc.3ds", "camera.3ds"}) {
    SCOPED_TRACE(file);
    const std::vector<Node> top = Parse(ReadFileBytes(dir.Path() / file));
    ASSERT_EQ(top.size(), 1u);
    const Node& main = top[0];
    ASSERT_EQ(main.Id, 0x4D4D);
    EXPECT_EQ(Ids(main), (std::vector<uint16_t>{0x0002, 0x3D3D, 0xB000}));
    EXPECT_EQ(main.Kids[0].Data, U32(3));
    const Node& editor = main.Kids[1];
    ASSERT_FALSE(editor.Kids.empty());
    EXPECT_EQ(editor.Kids[0].Id, 0x3D3E);
    EXPECT_NE(editor.Find(0x0100), nullptr);
    EXPECT_FALSE(main.Kids[2].Kids.empty());
    for (const Node& entry : editor.Kids) {
      if (entry.Id == 0xAFFF) {
        EXPECT_EQ(entry.Kids.at(0).Id, 0xA000);
        for (uint16_t colour : {0xA010, 0xA020, 0xA030}) {
          ASSERT_NE(entry.Find(colour), nullptr);
          EXPECT_EQ(entry.Find(colour)->Kids.at(0).Id, 0x0011);
        }
        for (uint16_t percent : {0xA040, 0xA050}) {
          ASSERT_NE(entry.Find(percent), nullptr);
          EXPECT_EQ(entry.Find(percent)->Kids.at(0).Id, 0x0030);
        }
        if (const Node* map = entry.Find(0xA200)) {
          EXPECT_EQ(Ids(*map), (std::vector<uint16_t>{0x0030, 0xA300}));
          const std::string name = map->Kids[1].Data;
          EXPECT_TRUE(std::none_of(name.begin(), name.end(), [](char ch) { return std::islower(uint8_t(ch)); }));
        }
      }
      if (entry.Id != 0x4000) continue;
      if (entry.Find(0x4700) != nullptr) ++cameras;
      const Node* mesh = entry.Find(0x4100);
      if (mesh == nullptr) continue;
      const Node* faces = mesh->Find(0x4120);
      if (faces == nullptr) {
        EXPECT_EQ(Ids(*mesh), (std::vector<uint16_t>{0x4110, 0x4160}));
        EXPECT_EQ(mesh->Kids[0].Data.substr(0, 2), U16(2));
        ++twoVertexObjects;
        continue;
      }
      EXPECT_EQ(Ids(*mesh), (std::vector<uint16_t>{0x4110, 0x4140, 0x4160, 0x4120}));
      EXPECT_EQ(Ids(*faces), (std::vector<uint16_t>{0x4130, 0x4150}));
    }
  }
  EXPECT_GT(cameras, 0);
  EXPECT_GT(twoVertexObjects, 0);
}

}  // namespace
}  // namespace orvane
