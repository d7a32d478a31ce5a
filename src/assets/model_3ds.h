#pragma once
// A 3D Studio mesh model as the scenery draws it: triangle meshes with one material each.
// Reading fills plain data; drawing lives in viewer/gl_model.h.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "assets/asset_report.h"
#include "assets/vectors.h"

namespace orvane {

class TextureService;

// GL enumerants kept as numbers so this layer needs no GL header.
inline constexpr uint32_t kGlFront = 0x0404;
inline constexpr uint32_t kGlAmbient = 0x1200;
inline constexpr uint32_t kGlDiffuse = 0x1201;
inline constexpr uint32_t kGlSpecular = 0x1202;
inline constexpr uint32_t kGlEmission = 0x1600;
inline constexpr uint32_t kGlTriangles = 4;

struct TMaterialProperties {
  std::array<float, 4> Color{0.0f, 0.0f, 0.0f, 0.0f};
  uint32_t Face = kGlFront;
  uint32_t Param = kGlAmbient;
};

struct TMaterial {
  std::string Name;
  std::string TextureFile;
  bool HasTexture = false;
  uint32_t TextureId = 0;
  bool TextureOff = false;
  bool SphereMapT = false;
  bool SphereMapS = false;
  TMaterialProperties Ambient{{}, kGlFront, kGlAmbient};
  TMaterialProperties Emission{{}, kGlFront, kGlEmission};
  TMaterialProperties Specular{{}, kGlFront, kGlSpecular};
  TMaterialProperties Diffuse{{}, kGlFront, kGlDiffuse};
  float Shininess = 0.0f;
  float Opacity = 0.0f;
};

// What a mesh group takes from a model material: not Emission, Opacity or the switches.
void CopyMaterial(const TMaterial& from, TMaterial& to);

enum class TransformKind : uint8_t { Rotate = 0, Translate = 1, Scale = 2 };

struct TTransform {
  TransformKind Kind = TransformKind::Rotate;
  bool Enabled = true;
  float X = 0.0f, Y = 0.0f, Z = 0.0f;
  float Angle = 0.0f;  // degrees, for Rotate
};

struct TTransformList {
  std::vector<TTransform> Entries;
  bool Enabled = true;
};

struct TFace {
  int32_t a = 0, b = 0, c = 0;
};

struct TTexCoord {
  float u = 0.0f, v = 0.0f;
};

struct T3DObject {
  bool Visible = true;
  std::string Name;
  TMaterial Material;
  int32_t VertexCount = 0;
  int32_t TexCoordCount = 0;
  int32_t FaceCount = 0;
  int32_t Index = 0;  // 1-based position in the model; the GL selection name
  TVector3 Max, Min, Size;
  bool ShowBounds = false;
  uint32_t PrimitiveMode = kGlTriangles;
  uint8_t RenderMode = 0;
  TTransformList Transforms;
  std::vector<TVector3> Vertices;
  std::vector<TVector3> Normals;
  std::vector<TTexCoord> TexCoords;
  std::vector<TFace> Faces;
};

// Per vertex: the normalised sum of the counter-clockwise normals of the faces around it.
// A vertex no face uses gets a NaN normal (it is never drawn).
void ComputeNormals(T3DObject& object);

class T3DModel {
 public:
  // `textures` loads the materials' texture maps (none: every material stays untextured);
  // `reporter` hears the version warning. `textures` is not owned.
  explicit T3DModel(AssetReporter reporter, TextureService* textures = nullptr);
  ~T3DModel();
  T3DModel(const T3DModel&) = delete;
  T3DModel& operator=(const T3DModel&) = delete;

  // Reads AssetFolder + fileName; false (and an empty model) when the file cannot be read
  // or is no 3DS file. No message for those.
  bool LoadFromFile(const std::string& fileName);
  // The same from bytes already in memory.
  bool LoadFromMemory(std::span<const uint8_t> bytes);

  // Frees every object and its texture name.
  void Clear();

  // Internal to loading, public for the chunk reader.
  TMaterial& AddMaterial();
  T3DObject& AddObject();

  std::vector<TMaterial> Materials;  // only while a file is read
  std::vector<T3DObject> Objects;

  const AssetReporter& Reporter() const { return reporter_; }
  TextureService* Textures() const { return textures_; }

 private:
  void ReleaseUnusedMaterialTextures();

  AssetReporter reporter_;
  TextureService* textures_;
};

}  // namespace orvane
