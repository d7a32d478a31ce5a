#include "assets/model_3ds.h"

#include <algorithm>
#include <utility>

#include "assets/texture_service.h"

namespace orvane {

void CopyMaterial(const TMaterial& from, TMaterial& to) {
  to.Name = from.Name;
  to.TextureFile = from.TextureFile;
  to.Ambient.Color = from.Ambient.Color;
  to.Diffuse.Color = from.Diffuse.Color;
  to.Specular.Color = from.Specular.Color;
  to.Shininess = from.Shininess;
  to.HasTexture = from.HasTexture;
  to.TextureId = from.TextureId;
}

void ComputeNormals(T3DObject& object) {
  const size_t n = object.Vertices.size();
  std::vector<TVector3> sums(n);
  std::vector<int32_t> counts(n, 0);
  // One pass over the faces adds each face to its corners in face order, which gives
  // the same float sums as a pass over the faces per vertex.
  for (const TFace& f : object.Faces) {
    const TVector3& a = object.Vertices[static_cast<size_t>(f.a)];
    const TVector3& b = object.Vertices[static_cast<size_t>(f.b)];
    const TVector3& c = object.Vertices[static_cast<size_t>(f.c)];
    const TVector3 normal = VectorCross(VectorSubtract(a, c), VectorSubtract(c, b));
    const int32_t corners[3] = {f.a, f.b, f.c};
    for (int k = 0; k < 3; ++k) {
      const bool repeated = (k >= 1 && corners[k] == corners[0]) || (k == 2 && corners[2] == corners[1]);
      if (repeated) continue;  // a face counts once per vertex
      const auto i = static_cast<size_t>(corners[k]);
      sums[i] = VectorAdd(sums[i], normal);
      ++counts[i];
    }
  }
  object.Normals.resize(n);
  for (size_t i = 0; i < n; ++i) {
    // n = 0 gives 0 / -0: NaN, as intended for vertices no face uses.
    TVector3 normal = VectorDivide(sums[i], -static_cast<float>(counts[i]));
    VectorNormalize(normal);
    object.Normals[i] = normal;
  }
}

T3DModel::T3DModel(AssetReporter reporter, TextureService* textures)
    : reporter_(std::move(reporter)), textures_(textures) {}

T3DModel::~T3DModel() { Clear(); }

void T3DModel::Clear() {
  if (textures_ != nullptr) {
    // Objects that share a material share its texture name: delete each name once.
    std::vector<uint32_t> names;
    for (const T3DObject& object : Objects) {
      if (object.Material.HasTexture) names.push_back(object.Material.TextureId);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    for (uint32_t name : names) textures_->DeleteTexture(name);
  }
  Objects.clear();
}

TMaterial& T3DModel::AddMaterial() { return Materials.emplace_back(); }

T3DObject& T3DModel::AddObject() {
  T3DObject& object = Objects.emplace_back();
  object.Index = static_cast<int32_t>(Objects.size());
  return object;
}

void T3DModel::ReleaseUnusedMaterialTextures() {
  if (textures_ == nullptr) return;
  for (const TMaterial& material : Materials) {
    if (!material.HasTexture) continue;
    const bool used = std::any_of(Objects.begin(), Objects.end(), [&](const T3DObject& o) {
      return o.Material.HasTexture && o.Material.TextureId == material.TextureId;
    });
    if (!used) textures_->DeleteTexture(material.TextureId);
  }
}

}  // namespace orvane
