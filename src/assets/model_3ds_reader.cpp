// LoadFromFile: the chunk tables of the scene, mesh and material levels.

#include <fstream>
#include <iterator>
#include <limits>

#include "assets/asset_folder.h"
#include "assets/chunk_reader.h"
#include "assets/model_3ds.h"
#include "assets/texture_service.h"
#include "util/byte_reader.h"
#include "util/rounding.h"

namespace orvane {

namespace {

enum ChunkId : uint16_t {
  kM3dMagic = 0x4D4D,
  kM3dVersion = 0x0002,
  kColorF = 0x0010,
  kLinColorF = 0x0013,
  kFloatPercentage = 0x0031,
  kMData = 0x3D3D,
  kNamedObject = 0x4000,
  kNTriObject = 0x4100,
  kPointArray = 0x4110,
  kFaceArray = 0x4120,
  kMshMatGroup = 0x4130,
  kTexVerts = 0x4140,
  kMatName = 0xA000,
  kMatAmbient = 0xA010,
  kMatDiffuse = 0xA020,
  kMatSpecular = 0xA030,
  kMatShininess = 0xA040,
  kMatTransparency = 0xA050,
  kMatTexMap = 0xA200,
  kMatMapName = 0xA300,
  kMatEntry = 0xAFFF,
};

// Real models nest five deep; deeper chunks are skipped so that no file can exhaust the stack.
constexpr int kMaxNesting = 32;
// An object name buffer holds 258 bytes, terminator included.
constexpr size_t kObjectNameKept = 257;

// Reads every child of `parent` with `handle`, adding each child's count to the parent's.
template <typename Handler>
void ReadChildren(TChunk& parent, Handler&& handle) {
  if (parent.Depth >= kMaxNesting) {
    parent.Skip();
    return;
  }
  while (parent.HasMore()) {
    TChunk child(*parent.Model, *parent.File, parent.Depth + 1);
    child.ReadHeader(parent.Left());
    handle(child);
    parent.Add(child.Consumed);
  }
}

// The first sub-chunk of a colour or percentage chunk, read whole; later ones are left
// for the enclosing level (the counting rule).
TChunk ReadFirstSubChunk(TChunk& chunk, std::vector<uint8_t>& data) {
  TChunk sub(*chunk.Model, *chunk.File, chunk.Depth + 1);
  if (!chunk.HasMore()) return sub;
  sub.ReadHeader(chunk.Left());
  data = sub.ReadRemaining();
  chunk.Add(sub.Consumed);
  return sub;
}

void ReadColor(TChunk& chunk, TMaterialProperties& property) {
  std::vector<uint8_t> data;
  const TChunk sub = ReadFirstSubChunk(chunk, data);
  if (sub.Consumed == 0) return;
  if (sub.Id == kColorF || sub.Id == kLinColorF) {
    // A short chunk gives zero for what is missing (the reader's rule).
    ByteReader floats(data);
    for (size_t i = 0; i < 3; ++i) property.Color[i] = floats.F32();
  } else {
    for (size_t i = 0; i < 3; ++i) property.Color[i] = static_cast<float>(i < data.size() ? data[i] : 0) * kByteToUnit;
  }
  property.Color[3] = 1.0f;
}

// Percentages stay as read: an integer one in double arithmetic, a float one in float.
double ReadPercentage(TChunk& chunk) {
  std::vector<uint8_t> data;
  const TChunk sub = ReadFirstSubChunk(chunk, data);
  ByteReader value(data);
  if (sub.Id == kFloatPercentage) return value.F32();
  return value.U16();
}

void ReadMaterialLevel(TChunk& parent, size_t materialIndex) {
  ReadChildren(parent, [&](TChunk& chunk) {
    TMaterial& material = chunk.Model->Materials[materialIndex];
    switch (chunk.Id) {
      case kMatName: material.Name = chunk.ReadRemainingText(); break;
      case kMatAmbient: ReadColor(chunk, material.Ambient); break;
      case kMatDiffuse: ReadColor(chunk, material.Diffuse); break;
      case kMatSpecular: ReadColor(chunk, material.Specular); break;
      case kMatShininess: material.Shininess = F32(128.0 - 1.28 * ReadPercentage(chunk)); break;
      case kMatTransparency: material.Opacity = F32(1.0 - ReadPercentage(chunk) / 100.0); break;
      case kMatTexMap: ReadMaterialLevel(chunk, materialIndex); break;
      case kMatMapName: {
        material.TextureFile = chunk.ReadRemainingText();
        TextureService* textures = chunk.Model->Textures();
        if (textures == nullptr) break;
        // A second map name in one material replaces the first without leaking it.
        if (material.HasTexture) textures->DeleteTexture(material.TextureId);
        material.HasTexture = textures->LoadTexture(AssetFolder + material.TextureFile, material.TextureId);
        break;
      }
      default: chunk.Skip(); break;
    }
  });
}

void ReadPoints(TChunk& chunk, T3DObject& object) {
  const std::vector<uint8_t> data = chunk.ReadRemaining();
  ByteReader points(data);
  const size_t declared = points.U16();
  const size_t n = std::min(declared, points.Remaining() / 12);
  object.Vertices.resize(n);
  for (TVector3& vertex : object.Vertices) {
    const float x = points.F32();
    const float y = points.F32();
    const float z = points.F32();
    // The file's z axis points up; the display's y does.
    vertex = {x, z, -y};
  }
  object.VertexCount = static_cast<int32_t>(n);
  object.Max = object.Min = n > 0 ? object.Vertices[0] : TVector3{};
  for (const TVector3& v : object.Vertices) {
    object.Max = {std::max(object.Max.x, v.x), std::max(object.Max.y, v.y), std::max(object.Max.z, v.z)};
    object.Min = {std::min(object.Min.x, v.x), std::min(object.Min.y, v.y), std::min(object.Min.z, v.z)};
  }
  object.Size = VectorSubtract(object.Max, object.Min);
}

void ReadTexCoords(TChunk& chunk, T3DObject& object) {
  const std::vector<uint8_t> data = chunk.ReadRemaining();
  ByteReader coords(data);
  const size_t declared = coords.U16();
  const size_t n = std::min(declared, coords.Remaining() / 8);
  object.TexCoords.resize(n);
  for (TTexCoord& coord : object.TexCoords) {
    const float u = coords.F32();
    coord = {u, coords.F32()};
  }
  object.TexCoordCount = static_cast<int32_t>(n);
}

// Reads only the count and the faces: the face list's own sub-chunks follow and are met
// at the mesh level.
void ReadFaces(TChunk& chunk, T3DObject& object) {
  uint8_t count[2];
  if (chunk.Read(count, 2) < 2) {
    object.Faces.clear();
    object.FaceCount = 0;
    return;
  }
  const size_t declared = ByteReader(count).U16();
  const size_t n = std::min(declared, static_cast<size_t>(chunk.Left() / 8));
  object.Faces.resize(n);
  for (TFace& face : object.Faces) {
    uint8_t f[8];
    chunk.Read(f, 8);
    ByteReader corners(f);  // three corners, then the face flags
    const int32_t a = corners.U16();
    const int32_t b = corners.U16();
    face = {a, b, corners.U16()};
  }
  object.FaceCount = static_cast<int32_t>(n);
}

void ReadMaterialGroup(TChunk& chunk, T3DObject& object) {
  object.Material.Name = chunk.ReadString(std::numeric_limits<size_t>::max());
  for (const TMaterial& material : chunk.Model->Materials) {
    if (material.Name == object.Material.Name) {
      CopyMaterial(material, object.Material);
      break;
    }
  }
  chunk.Skip();
}

void ReadMeshLevel(TChunk& parent, size_t objectIndex) {
  ReadChildren(parent, [&](TChunk& chunk) {
    T3DObject& object = chunk.Model->Objects[objectIndex];
    switch (chunk.Id) {
      case kNTriObject: ReadMeshLevel(chunk, objectIndex); break;
      case kPointArray: ReadPoints(chunk, object); break;
      case kFaceArray: ReadFaces(chunk, object); break;
      case kMshMatGroup: ReadMaterialGroup(chunk, object); break;
      case kTexVerts: ReadTexCoords(chunk, object); break;
      default: chunk.Skip(); break;
    }
  });
}

void ReadSceneLevel(TChunk& parent) {
  ReadChildren(parent, [&](TChunk& chunk) {
    T3DModel& model = *chunk.Model;
    switch (chunk.Id) {
      case kM3dVersion: {
        const std::vector<uint8_t> version = chunk.ReadRemaining();
        if (ByteReader(version).U32() > 3) {
          SendReport(model.Reporter(), AssetReportKind::Warning, "Unsupported file version.", "Warning");
        }
        break;
      }
      case kMData:
        if (chunk.HasMore()) {
          // The mesh version chunk that opens the editor data: read whole and not used.
          TChunk first(model, *chunk.File, chunk.Depth + 1);
          first.ReadHeader(chunk.Left());
          first.Skip();
          chunk.Add(first.Consumed);
        }
        ReadSceneLevel(chunk);
        break;
      case kNamedObject: {
        model.AddObject().Name = chunk.ReadString(kObjectNameKept);
        ReadMeshLevel(chunk, model.Objects.size() - 1);
        break;
      }
      case kMatEntry:
        model.AddMaterial();
        ReadMaterialLevel(chunk, model.Materials.size() - 1);
        break;
      default: chunk.Skip(); break;
    }
  });
}

// A damaged face list may name vertices the mesh does not have; such faces are dropped.
void DropFacesOutsideMesh(T3DObject& object) {
  const auto n = static_cast<int32_t>(object.Vertices.size());
  std::erase_if(object.Faces, [n](const TFace& f) { return f.a >= n || f.b >= n || f.c >= n; });
  object.FaceCount = static_cast<int32_t>(object.Faces.size());
}

}  // namespace

bool T3DModel::LoadFromMemory(std::span<const uint8_t> bytes) {
  Clear();
  Materials.clear();
  if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return false;
  ByteReader file(bytes);
  TChunk main(*this, file);
  main.ReadHeader(static_cast<int64_t>(bytes.size()));
  if (main.Id != kM3dMagic || main.Consumed < 6) return false;
  ReadSceneLevel(main);
  for (T3DObject& object : Objects) {
    DropFacesOutsideMesh(object);
    ComputeNormals(object);
  }
  ReleaseUnusedMaterialTextures();
  Materials.clear();
  return true;
}

bool T3DModel::LoadFromFile(const std::string& fileName) {
  Clear();
  Materials.clear();
  std::ifstream in(FindFileIgnoringCase(AssetFolder + fileName), std::ios::binary);
  if (!in) return false;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  return LoadFromMemory(bytes);
}

}  // namespace orvane
