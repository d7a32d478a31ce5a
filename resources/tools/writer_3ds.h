#pragma once
// Writes 3D Studio mesh files in the layout a modeller saves: version, editor data with
// mesh version, materials, master scale and named objects, then key-frame data.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "mesh_builder.h"

namespace orvane::tools {

struct MaterialSpec {
  std::string Name;
  std::string TextureMap;  // "" for none; capitals, as modellers store them
  std::array<uint8_t, 3> Ambient{};
  std::array<uint8_t, 3> Diffuse{};
  std::array<uint8_t, 3> Specular{};
  uint16_t ShininessPercent = 0;
  uint16_t TransparencyPercent = 0;
};

struct CameraSpec {
  std::string Name;
  V3 Position, Target;
  float Lens = 50.0f;
};

struct LineSpec {  // an object of two vertices and no faces
  std::string Name;
  V3 From, To;
};

struct SceneSpec {
  std::vector<MaterialSpec> Materials;
  std::vector<Mesh> Meshes;
  std::vector<LineSpec> Lines;
  std::vector<CameraSpec> Cameras;
};

std::vector<uint8_t> Build3ds(const SceneSpec& scene);
void Write3ds(const SceneSpec& scene, const std::string& path);

}  // namespace orvane::tools
