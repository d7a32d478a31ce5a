#pragma once
// Draws one frame's particle records as textured quads under additive blending, either as
// camera-facing billboards or flattened onto the plane z = 0.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane {

enum class ParticlePath {
  Immediate,     // one glBegin/glEnd per frame, colour and vertices per call
  VertexArrays,  // the same quads from client arrays in one draw call
};

class ParticleRenderer {
 public:
  // `bytes` holds whole 10-byte records; a trailing partial record is ignored.
  void Draw(const uint8_t* bytes, size_t size, uint32_t texture, bool billboards3d);
  void SetPath(ParticlePath path) { path_ = path; }
  ParticlePath Path() const { return path_; }

 private:
  void DrawBillboardsImmediate(const uint8_t* bytes, size_t count, const float right[3], const float up[3]);
  void DrawBillboardsArrays(const uint8_t* bytes, size_t count, const float right[3], const float up[3]);
  void DrawFlat(const uint8_t* bytes, size_t count);

  ParticlePath path_ = ParticlePath::VertexArrays;
  std::vector<float> vertices_, colors_, texcoords_;
};

// Divides by the length; a zero vector stays as it is.
void Normalize(float v[3]);

}  // namespace orvane
