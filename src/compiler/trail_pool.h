#pragma once
// The trail pool: short-lived particles that stars drop along the stretch they have just
// flown. They fade, sink and flicker, belong to no set, and are written in pool order.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane {

struct TrailParticle {
  float X = 0, Y = 0, Z = 0;
  float Red = 0, Green = 0, Blue = 0;
  float Alpha = 0;
  float AlphaStep = 0;  // per frame, negative
  float Size = 0;
  uint32_t Cue = 0;  // the show cue it descends from
};

// Above this many particles Fade thins the pool out.
inline constexpr size_t kTrailCrowding = 3000;

class CTrail {
 public:
  // Particles one Emit appends for a star of this size: round(size * 45), or 3 for 0.
  static uint16_t ParticlesPerEmit(float size);

  // Appends ParticlesPerEmit(size) particles spread evenly along (dx, dy, dz) from the
  // start point, the last one at start + d.
  void Emit(uint32_t life, float x, float y, float z, float red, float green, float blue, float alpha,
            float size, float dx, float dy, float dz);

  // One frame: every particle sinks at random and takes its alpha step; spent ones go.
  void Fade();

  size_t Count() const { return Particles.size(); }
  void Clear() { Particles.clear(); }

  std::vector<TrailParticle> Particles;
  // The cue Emit gives its particles: the show loop sets it to the emitting set's cue.
  uint32_t EmittingCue = 0;
};

}  // namespace orvane
