#pragma once
// Particles as one point each: a small GLSL 1.20 program (compatibility profile) reads the
// frame's 10-byte records as they are stored and draws every particle as a screen-aligned
// square of the billboard's size in scene units, textured like the billboard's quad.
// Needs GL 2.0; the quads remain for contexts without it.

#include <cstddef>
#include <cstdint>

namespace orvane {

class ParticleSprites {
 public:
  ParticleSprites() = default;
  ~ParticleSprites();
  ParticleSprites(const ParticleSprites&) = delete;
  ParticleSprites& operator=(const ParticleSprites&) = delete;

  // Compiles the program on first use, in the current context. False when the context
  // lacks GL 2.0 or the program does not build; the answer is kept.
  bool Available();

  // Draws `count` records from `records` (blending, depth and texture state set by the
  // caller). With `flatten`, z is dropped as the flat view does.
  void Draw(const uint8_t* records, size_t count, uint32_t texture, bool flatten);

 private:
  enum class State { Untried, Ready, Unavailable };
  bool Build();

  State state_ = State::Untried;
  uint32_t buffer_ = 0;
  std::ptrdiff_t bufferBytes_ = 0;
  uint32_t program_ = 0;
  int32_t flatten_ = -1, viewport_ = -1, pixelsPerUnit_ = -1, textured_ = -1, sprite_ = -1;
};

}  // namespace orvane
