#pragma once
// The trail pool: short-lived particles that stars drop along the stretch they have just
// flown. They fade, sink and flicker, belong to no set, and are written in pool order.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "compiler/huge_page_allocator.h"
#include "compiler/show_record.h"

namespace orvane {

struct TrailParticle {
  float X = 0, Y = 0, Z = 0;
  // Red, green and blue as the records store them; the alpha nibble is the record's own.
  EncodedColor Color{};
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
  // start point, the last one at start + d. Only the colour's red, green and blue count.
  void Emit(uint32_t life, float x, float y, float z, EncodedColor color, float alpha, float size, float dx, float dy,
            float dz);

  // One frame: every particle sinks at random and takes its alpha step; spent ones go.
  void Fade();

  // The frame's trail records and then Fade, in one pass: writes a record for each of the
  // Count() particles at `records` (49 in 100 at a third of the particle's opacity, the
  // pool keeping its own), but for those whose position does not fit the file
  // (PositionFits), and returns how many. The draws are those of the write pass followed
  // by Fade's, culled or not.
  size_t WriteAndFade(uint8_t* records, float scale);

  // Room for up to `most` particles, taken once in address space only: untouched pages
  // of a huge block cost nothing, and a pool that never moves is neither copied nor spread
  // over fresh pages while it grows. Without the address space it grows as it goes.
  void Reserve(uint64_t most);

  size_t Count() const { return Particles.size(); }
  void Clear() { Particles.clear(); }

  std::vector<TrailParticle, HugePageAllocator<TrailParticle>> Particles;
  // The cue Emit gives its particles: the show loop sets it to the emitting set's cue.
  uint32_t EmittingCue = 0;
};

}  // namespace orvane
