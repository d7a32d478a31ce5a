#include "assets/model_3ds.h"

#include <gtest/gtest.h>

#include <cmath>

#include "assets/asset_folder.h"
#include "assets/model_corners.h"
#include "chunk_builder.h"
#include "recording_reports.h"
#include "recording_textures.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class ModelReader : public ::testing::Test {
 protected:
  bool Load(const std::string& bytes) {
    return model.LoadFromMemory({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  }
  const T3DObject& Only() {
    EXPECT_EQ(model.Objects.size(), 1u);
    return model.Objects.at(0);
  }

  RecordingReports reports;
  RecordingTextures textures;
  T3DModel model{reports.Reporter(), &textures};
};

const std::string kTriangle = Points({0, 0, 0, 1, 0, 0, 0, 1, 0});

// --- Scene level -------------------------------------------------------------------------

TEST_F(ModelReader, VersionThreeLoadsSilentlyAndFourWarnsButLoads) {
  ASSERT_TRUE(Load(Model({Object("A", {kTriangle})}, Chunk(0x0002, U32(3)))));
  EXPECT_TRUE(reports.Messages.empty());
  ASSERT_TRUE(Load(Model({Object("A", {kTriangle})}, Chunk(0x0002, U32(4)))));
  const AssetReport& m = reports.OnlyMessage();
  EXPECT_EQ(m.Text, "Unsupported file version.");
  EXPECT_EQ(m.Caption, "Warning");
  EXPECT_EQ(m.Kind, AssetReportKind::Warning);
  EXPECT_EQ(model.Objects.size(), 1u);
}

TEST_F(ModelReader, OverlongVersionDataIsReadAsOneChunk) {
  // Eight bytes where four belong: the first four are the version, the rest is not taken
  // for chunk headers.
  ASSERT_TRUE(Load(Model({Object("A", {kTriangle})}, Chunk(0x0002, U32(3) + U32(0x4000FFFF)))));
  EXPECT_TRUE(reports.Messages.empty());
  EXPECT_EQ(model.Objects.size(), 1u);
}

TEST_F(ModelReader, RefusesWhatIsNoModelWithoutAMessage) {
  EXPECT_FALSE(Load(Chunk(0x3D3D, Chunk(0x3D3E, U32(3)))));
  EXPECT_FALSE(Load(""));
  EXPECT_FALSE(Load("MM"));
  AssetFolder = "/nonexistent-folder/";
  EXPECT_FALSE(model.LoadFromFile("floor.3ds"));
  AssetFolder.clear();
  EXPECT_TRUE(reports.Messages.empty());
  EXPECT_TRUE(model.Objects.empty());
}

TEST_F(ModelReader, LoadsFromAssetFolderIgnoringLetterCase) {
  ScratchDir dir;
  dir.Write("tri.3ds", Model({Object("A", {kTriangle})}));
  AssetFolder = dir.Folder();
  EXPECT_TRUE(model.LoadFromFile("TRI.3DS"));
  AssetFolder.clear();
  EXPECT_EQ(model.Objects.size(), 1u);
}

TEST_F(ModelReader, ObjectsAreNumberedFromOneInFileOrderAndReloadReplacesThem) {
  ASSERT_TRUE(Load(Model({Object("A", {kTriangle}), Object("B", {kTriangle})})));
  ASSERT_EQ(model.Objects.size(), 2u);
  EXPECT_EQ(model.Objects[0].Name, "A");
  EXPECT_EQ(model.Objects[0].Index, 1);
  EXPECT_EQ(model.Objects[1].Index, 2);
  EXPECT_TRUE(model.Objects[1].Visible);
  EXPECT_EQ(model.Objects[1].PrimitiveMode, kGlTriangles);
  ASSERT_TRUE(Load(Model({Object("C", {kTriangle})})));
  EXPECT_EQ(Only().Name, "C");
  EXPECT_EQ(Only().Index, 1);
}

TEST_F(ModelReader, LongObjectNameIsCutAndTheRestOfTheChunkStillRead) {
  const std::string name(300, 'n');
  ASSERT_TRUE(Load(Model({Object(name, {kTriangle, Faces({{0, 1, 2}})})})));
  EXPECT_EQ(Only().Name, std::string(257, 'n'));
  EXPECT_EQ(Only().FaceCount, 1);
}

// --- Mesh level --------------------------------------------------------------------------

TEST_F(ModelReader, VerticesTurnFromZUpToYUpWithExtents) {
  ASSERT_TRUE(Load(Model({Object("A", {Points({1, 2, 3, -4, 5, -6})})})));
  const T3DObject& o = Only();
  ASSERT_EQ(o.VertexCount, 2);
  EXPECT_EQ(o.Vertices[0].x, 1.0f);
  EXPECT_EQ(o.Vertices[0].y, 3.0f);
  EXPECT_EQ(o.Vertices[0].z, -2.0f);
  EXPECT_EQ(o.Vertices[1].y, -6.0f);
  EXPECT_EQ(o.Vertices[1].z, -5.0f);
  EXPECT_EQ(o.Max.x, 1.0f);
  EXPECT_EQ(o.Max.y, 3.0f);
  EXPECT_EQ(o.Max.z, -2.0f);
  EXPECT_EQ(o.Min.x, -4.0f);
  EXPECT_EQ(o.Min.y, -6.0f);
  EXPECT_EQ(o.Min.z, -5.0f);
  EXPECT_EQ(o.Size.x, 5.0f);
  EXPECT_EQ(o.Size.y, 9.0f);
  EXPECT_EQ(o.Size.z, 3.0f);
}

// A unit cube around the origin, 8 shared corners, faces counter-clockwise from outside
// (in display coordinates; stored in the file as (x, -z, y)).
std::string CubeObject() {
  std::string points = U16(8);
  for (int i = 0; i < 8; ++i) {
    const float x = (i & 1) ? 1.0f : -1.0f, y = (i & 2) ? 1.0f : -1.0f, z = (i & 4) ? 1.0f : -1.0f;
    points += F32(x) + F32(-z) + F32(y);
  }
  // clang-format off
  return Object("Cube", {Chunk(0x4110, points),
                         Faces({{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                                {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}})});
  // clang-format on
}

TEST_F(ModelReader, CubeCornerNormalsAreTheAreaWeightedSumOfTheirFaces) {
  ASSERT_TRUE(Load(Model({CubeObject()})));
  const T3DObject& cube = Only();
  ASSERT_EQ(cube.Normals.size(), 8u);
  // Corner 0 lies in two triangles of each of its three sides: the diagonal.
  const float d = 1.0f / std::sqrt(3.0f);
  EXPECT_NEAR(cube.Normals[0].x, -d, 1e-6);
  EXPECT_NEAR(cube.Normals[0].y, -d, 1e-6);
  EXPECT_NEAR(cube.Normals[0].z, -d, 1e-6);
  // Corner 1 lies in two triangles of +x but one of -y and one of -z: (2, -1, -1) / sqrt 6.
  const float s6 = std::sqrt(6.0f);
  EXPECT_NEAR(cube.Normals[1].x, 2.0f / s6, 1e-6);
  EXPECT_NEAR(cube.Normals[1].y, -1.0f / s6, 1e-6);
  EXPECT_NEAR(cube.Normals[1].z, -1.0f / s6, 1e-6);
  for (size_t i = 0; i < 8; ++i) {
    const TVector3& v = cube.Vertices[i];
    const TVector3& n = cube.Normals[i];
    EXPECT_NEAR(VectorLength(n), 1.0f, 1e-6) << i;
    EXPECT_GT(n.x * v.x + n.y * v.y + n.z * v.z, 0.5f) << i;  // outward
  }
}

TEST_F(ModelReader, NormalsFollowTheWindingAndLeaveUnusedVerticesNaN) {
  // Counter-clockwise in the file's x-y plane seen from its +z, which is the display's +y.
  ASSERT_TRUE(
      Load(Model({Object("A", {Points({0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5}), Faces({{0, 1, 2}, {0, 0, 1}})})})));
  const T3DObject& o = Only();
  EXPECT_NEAR(o.Normals[0].y, 1.0f, 1e-6);
  EXPECT_NEAR(o.Normals[2].y, 1.0f, 1e-6);
  EXPECT_TRUE(std::isnan(o.Normals[3].x));
}

TEST_F(ModelReader, TwoVertexObjectLoadsWithNaNNormalsAndNothingToDraw) {
  ASSERT_TRUE(Load(Model({Object("Line", {Points({0, 0, 0, 1, 1, 1})})})));
  const T3DObject& o = Only();
  EXPECT_EQ(o.VertexCount, 2);
  EXPECT_TRUE(std::isnan(o.Normals[0].x));
  int corners = 0;
  ForEachDrawnCorner(o, [&](const TVector3&, const TTexCoord&, const TVector3&) { ++corners; });
  EXPECT_EQ(corners, 0);
}

TEST_F(ModelReader, CameraObjectAndEmptyMeshLoadAsEmptyObjects) {
  const std::string camera = Chunk(0x4000, Text("Cam") + Chunk(0x4700, std::string(32, '\0')));
  const std::string empty = Chunk(0x4000, Text("Empty") + Chunk(0x4100));
  ASSERT_TRUE(Load(Model({camera, empty, Object("A", {kTriangle})})));
  ASSERT_EQ(model.Objects.size(), 3u);
  EXPECT_EQ(model.Objects[0].Name, "Cam");
  EXPECT_TRUE(model.Objects[0].Vertices.empty());
  EXPECT_TRUE(model.Objects[1].Faces.empty());
  EXPECT_EQ(model.Objects[2].VertexCount, 3);
}

TEST_F(ModelReader, MissingTextureCoordinatesAreSentAsZero) {
  const std::string tex = Chunk(0x4140, U16(1) + F32(0.25f) + F32(0.75f));
  ASSERT_TRUE(Load(Model({Object("A", {kTriangle, tex, Faces({{0, 1, 2}})})})));
  std::vector<TTexCoord> sent;
  ForEachDrawnCorner(Only(), [&](const TVector3&, const TTexCoord& t, const TVector3&) { sent.push_back(t); });
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].u, 0.25f);
  EXPECT_EQ(sent[0].v, 0.75f);
  EXPECT_EQ(sent[1].u, 0.0f);
  EXPECT_EQ(sent[2].v, 0.0f);
}

TEST_F(ModelReader, CountsBeyondTheDataAndFacesOutsideTheMeshAreCutBack) {
  const std::string points = Chunk(0x4110, U16(1000) + F32(0) + F32(0) + F32(0) + F32(1) + F32(0) + F32(0));
  const std::string tex = Chunk(0x4140, U16(50) + F32(1) + F32(1));
  ASSERT_TRUE(Load(Model({Object("A", {points, tex, Faces({{0, 1, 1}, {0, 1, 7}})})})));
  const T3DObject& o = Only();
  EXPECT_EQ(o.VertexCount, 2);
  EXPECT_EQ(o.TexCoordCount, 1);
  ASSERT_EQ(o.FaceCount, 1);
  EXPECT_EQ(o.Faces[0].c, 1);
}

// --- Counting rule -----------------------------------------------------------------------

TEST_F(ModelReader, MaterialGroupInsideTheFaceListIsHonoured) {
  const std::string stone = Material("Stone", {Color24(0xA020, 255, 0, 0)});
  ASSERT_TRUE(Load(Model({stone, Object("A", {kTriangle, Faces({{0, 1, 2}}, {MatGroup("Stone"), Chunk(0x4150, U32(1))}),
                                              Chunk(0x4160, std::string(48, '\0'))})})));
  const T3DObject& o = Only();
  EXPECT_EQ(o.Material.Name, "Stone");
  EXPECT_EQ(o.Material.Diffuse.Color[0], 1.0f);
  EXPECT_EQ(o.FaceCount, 1);
}

TEST_F(ModelReader, SecondColourSubChunkIsSkippedAndTheNextPropertyStillRead) {
  const std::string diffuse =
      Chunk(0xA020, {}, {Chunk(0x0011, std::string("\x33\x66\x99", 3)), Chunk(0x0012, std::string("\x01\x02\x03", 3))});
  const std::string stone = Material("Stone", {diffuse, Color24(0xA030, 0, 255, 0), IntPercent(0xA040, 50)});
  ASSERT_TRUE(Load(Model({stone, Object("A", {kTriangle, Faces({{0, 1, 2}}, {MatGroup("Stone")})})})));
  const TMaterial& m = Only().Material;
  EXPECT_EQ(m.Diffuse.Color[0], 51 * 0.0039215689f);
  EXPECT_EQ(m.Diffuse.Color[1], 102 * 0.0039215689f);
  EXPECT_EQ(m.Diffuse.Color[2], 153 * 0.0039215689f);
  EXPECT_EQ(m.Diffuse.Color[3], 1.0f);
  EXPECT_EQ(m.Specular.Color[1], 1.0f);
  EXPECT_EQ(m.Shininess, 64.0f);
}

TEST_F(ModelReader, FloatColourAndFloatPercentageAreRead) {
  const std::string ambient = Chunk(0xA010, {}, {Chunk(0x0010, F32(0.5f) + F32(0.25f) + F32(1.0f))});
  const std::string shine = Chunk(0xA040, {}, {Chunk(0x0031, F32(25.0f))});
  ASSERT_TRUE(
      Load(Model({Material("M", {ambient, shine}), Object("A", {kTriangle, Faces({{0, 1, 2}}, {MatGroup("M")})})})));
  const TMaterial& m = Only().Material;
  EXPECT_EQ(m.Ambient.Color[0], 0.5f);
  EXPECT_EQ(m.Ambient.Color[1], 0.25f);
  EXPECT_EQ(m.Ambient.Color[3], 1.0f);
  EXPECT_EQ(m.Shininess, 96.0f);
}

// --- Material copy -----------------------------------------------------------------------

TEST_F(ModelReader, GroupNamesMatchCaseSensitively) {
  const std::string stone = Material("Stone", {Color24(0xA020, 255, 255, 255)});
  ASSERT_TRUE(Load(Model({stone, Object("A", {kTriangle, Faces({{0, 1, 2}}, {MatGroup("STONE")})})})));
  const TMaterial& m = Only().Material;
  EXPECT_EQ(m.Name, "STONE");
  EXPECT_EQ(m.Diffuse.Color[0], 0.0f);
  EXPECT_FALSE(m.HasTexture);
}

TEST_F(ModelReader, LastFoundGroupWinsAndAnUnknownOneOnlyRenames) {
  const std::string red = Material("Red", {Color24(0xA020, 255, 0, 0)});
  const std::string blue = Material("Blue", {Color24(0xA020, 0, 0, 255)});
  ASSERT_TRUE(Load(
      Model({red, blue,
             Object("A", {kTriangle, Faces({{0, 1, 2}}, {MatGroup("Red"), MatGroup("Blue"), MatGroup("Nothing")})})})));
  const TMaterial& m = Only().Material;
  EXPECT_EQ(m.Name, "Nothing");
  EXPECT_EQ(m.Diffuse.Color[0], 0.0f);
  EXPECT_EQ(m.Diffuse.Color[2], 1.0f);
}

TEST_F(ModelReader, TransparencyIsNotCopiedToTheObject) {
  const std::string glass = Material("Glass", {IntPercent(0xA050, 25), IntPercent(0xA040, 100)});
  ASSERT_TRUE(Load(Model({glass, Object("A", {kTriangle, Faces({{0, 1, 2}}, {MatGroup("Glass")})})})));
  EXPECT_EQ(Only().Material.Opacity, 0.0f);
  EXPECT_NEAR(Only().Material.Shininess, 0.0f, 1e-5);
  EXPECT_TRUE(model.Materials.empty());
}

TEST(MaterialCopy, CopiesColoursTextureAndShininessButNotEmissionOpacityOrSwitches) {
  TMaterial from;
  from.Name = "N";
  from.TextureFile = "T.JPG";
  from.HasTexture = true;
  from.TextureId = 9;
  from.TextureOff = from.SphereMapS = from.SphereMapT = true;
  from.Ambient.Color = {0.1f, 0.2f, 0.3f, 1.0f};
  from.Diffuse.Color = {0.4f, 0.5f, 0.6f, 1.0f};
  from.Specular.Color = {0.7f, 0.8f, 0.9f, 1.0f};
  from.Emission.Color = {1.0f, 1.0f, 1.0f, 1.0f};
  from.Shininess = 12.0f;
  from.Opacity = 0.5f;
  TMaterial to;
  CopyMaterial(from, to);
  EXPECT_EQ(to.Name, "N");
  EXPECT_EQ(to.TextureFile, "T.JPG");
  EXPECT_TRUE(to.HasTexture);
  EXPECT_EQ(to.TextureId, 9u);
  EXPECT_EQ(to.Ambient.Color, from.Ambient.Color);
  EXPECT_EQ(to.Diffuse.Color, from.Diffuse.Color);
  EXPECT_EQ(to.Specular.Color, from.Specular.Color);
  EXPECT_EQ(to.Shininess, 12.0f);
  EXPECT_EQ(to.Emission.Color, (std::array<float, 4>{0, 0, 0, 0}));
  EXPECT_EQ(to.Opacity, 0.0f);
  EXPECT_FALSE(to.TextureOff || to.SphereMapS || to.SphereMapT);
  EXPECT_EQ(to.Diffuse.Param, kGlDiffuse);
  EXPECT_EQ(to.Emission.Param, kGlEmission);
}

// --- Textures ----------------------------------------------------------------------------

TEST_F(ModelReader, TextureMapsLoadFromTheAssetFolderAndAreSharedAndFreedOnce) {
  AssetFolder = "/assets/";
  textures.Refuse = {"/assets/BAD.JPG"};
  const std::string good = Material("Good", {TexMap("STUCCO4.JPG")});
  const std::string bad = Material("Bad", {TexMap("BAD.JPG"), Color24(0xA020, 0, 255, 0)});
  const std::string unused = Material("Unused", {TexMap("OTHER.JPG")});
  ASSERT_TRUE(Load(Model({good, bad, unused, Object("A", {kTriangle, Faces({{0, 1, 2}}, {MatGroup("Good")})}),
                          Object("B", {kTriangle, Faces({{0, 1, 2}}, {MatGroup("Good")})}),
                          Object("C", {kTriangle, Faces({{0, 1, 2}}, {MatGroup("Bad")})})})));
  AssetFolder.clear();
  EXPECT_EQ(textures.Loaded, (std::vector<std::string>{"/assets/STUCCO4.JPG", "/assets/BAD.JPG", "/assets/OTHER.JPG"}));
  const TMaterial& a = model.Objects[0].Material;
  EXPECT_TRUE(a.HasTexture);
  EXPECT_EQ(a.TextureFile, "STUCCO4.JPG");
  EXPECT_EQ(a.TextureId, 1u);
  EXPECT_EQ(model.Objects[1].Material.TextureId, 1u);
  EXPECT_FALSE(model.Objects[2].Material.HasTexture);
  EXPECT_EQ(model.Objects[2].Material.Diffuse.Color[1], 1.0f);
  // The texture no object uses goes at once; the shared one goes once with the model.
  EXPECT_EQ(textures.Deleted, (std::vector<uint32_t>{3}));
  model.Clear();
  EXPECT_EQ(textures.Deleted, (std::vector<uint32_t>{3, 1}));
}

// --- Damaged files -----------------------------------------------------------------------

TEST_F(ModelReader, ChunksLongerThanTheirParentOrTheFileAreCut) {
  // The object claims 1 MB; the file ends after its triangle.
  std::string object = Object("A", {kTriangle});
  object.replace(2, 4, U32(1u << 20));
  ASSERT_TRUE(Load(Model({object})));
  EXPECT_EQ(Only().VertexCount, 3);
}

TEST_F(ModelReader, ZeroAndNegativeLengthsStillMoveOn) {
  const std::string zero = ChunkWithLength(0x4000, 0);
  const std::string negative = ChunkWithLength(0xAFFF, 0xFFFFFFF0u);
  ASSERT_TRUE(Load(Model({zero, negative, Object("A", {kTriangle})})));
  EXPECT_EQ(model.Objects.back().VertexCount, 3);
}

TEST_F(ModelReader, EveryTruncationOfAModelStopsCleanly) {
  const std::string full = Model({Material("M", {Color24(0xA020, 1, 2, 3), TexMap("T.JPG")}), CubeObject(),
                                  Object("B", {kTriangle, Faces({{0, 1, 2}}, {MatGroup("M")})})},
                                 Chunk(0x0002, U32(3)));
  for (size_t cut = 0; cut < full.size(); ++cut) {
    const bool loaded = Load(full.substr(0, cut));
    EXPECT_EQ(loaded, cut >= 6) << cut;
    for (const T3DObject& o : model.Objects) {
      EXPECT_EQ(o.Normals.size(), o.Vertices.size());
      for (const TFace& f : o.Faces) EXPECT_LT(std::max({f.a, f.b, f.c}), o.VertexCount);
    }
  }
}

TEST_F(ModelReader, DeepNestingIsSkippedInsteadOfExhaustingTheStack) {
  std::string nested = kTriangle;
  for (int i = 0; i < 3000; ++i) nested = Chunk(0x4100, nested);
  ASSERT_TRUE(Load(Model({Chunk(0x4000, Text("Deep") + nested)})));
  EXPECT_EQ(Only().VertexCount, 0);
}

}  // namespace
}  // namespace orvane
