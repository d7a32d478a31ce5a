#pragma once
// Draws one frame's particle records as textured quads under additive blending, either as
// camera-facing billboards or flattened onto the plane z = 0.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "viewer/particle_sprites.h"

namespace orvane {

enum class ParticlePath {
  Immediate,     // one glBegin/glEnd per frame, colour and vertices per call
  VertexArrays,  // the same quads from client arrays in one draw call
  Sprites,       // one point per particle, sized and textured like its quad (GL 2.0)
};

class ParticleRenderer {
 public:
  // `bytes` holds whole 10-byte records; a trailing partial record is ignored.
  void Draw(const uint8_t* bytes, size_t size, uint32_t texture, bool billboards3d);
  // Sprites fall back to the vertex-array quads in a context without GL 2.0, and to the
  // flat view's own quads when its plane is not square to the camera.
  void SetPath(ParticlePath path) { path_ = path; }
  ParticlePath Path() const { return path_; }
  // The path the last Draw took.
  ParticlePath LastPath() const { return lastPath_; }

 private:
  void DrawBillboardsImmediate(const uint8_t* bytes, size_t count, const float right[3], const float up[3]);
  void DrawBillboardsArrays(const uint8_t* bytes, size_t count, const float right[3], const float up[3]);
  void DrawFlat(const uint8_t* bytes, size_t count);

  ParticlePath path_ = ParticlePath::Sprites;
  ParticlePath lastPath_ = ParticlePath::Sprites;
  ParticleSprites sprites_;
  std::vector<float> vertices_, colors_, texcoords_;
};

// Divides by the length; a zero vector stays as it is.
void Normalize(float v[3]);

}  // namespace orvane
