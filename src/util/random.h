#pragma once
// The process-wide pseudo-random generator: the 32-bit linear congruential generator of
// NextRandomSeed, whose result for a range n is the high 32 bits of the 64-bit product
// seed * n (DrawFromSeed). Safe to call from several threads.
//
// Seeded mode makes compiles reproducible: the seed is set once and every reseed from
// the clock is skipped, so the generator runs as one sequence.

#include <cstdint>

namespace orvane {

// The generator's step: seed := seed * kRandomMultiplier + kRandomIncrement (mod 2^32).
inline constexpr uint32_t kRandomMultiplier = 134775813u;
inline constexpr uint32_t kRandomIncrement = 1u;

constexpr uint32_t NextRandomSeed(uint32_t seed) { return seed * kRandomMultiplier + kRandomIncrement; }

// The draw in 0 .. n-1 that a freshly stepped seed gives, read as a signed 32-bit integer.
constexpr int32_t DrawFromSeed(uint32_t seed, uint32_t n) {
  return static_cast<int32_t>(static_cast<uint32_t>((static_cast<uint64_t>(seed) * n) >> 32));
}

// A uniform integer in 0 .. n-1 for n > 0; random(0) gives 0. n is taken modulo 2^32 and
// the result is read as a signed 32-bit integer. Every call advances the seed.
int32_t Random(int32_t n);

// Sets the seed to the low 32 bits of the monotonic clock, unless seeded mode is on.
void ReseedFromClock();

void SetRandomSeed(uint32_t seed);
uint32_t RandomSeed();

// While it lives, this thread draws from a generator of its own that starts at `seed` and
// is never reseeded from the clock; other threads keep the process-wide one. A show compiled
// this way gives the same bytes whatever other threads draw meanwhile. Scopes nest.
class ThreadRandomScope {
 public:
  explicit ThreadRandomScope(uint32_t seed);
  ~ThreadRandomScope();
  ThreadRandomScope(const ThreadRandomScope&) = delete;
  ThreadRandomScope& operator=(const ThreadRandomScope&) = delete;

  uint32_t Seed() const { return seed_; }

 private:
  uint32_t seed_;
  uint32_t* outer_;
};

// Sets the seed to `seed` and skips every later ReseedFromClock until DisableSeededMode.
void EnableSeededMode(uint32_t seed);
void DisableSeededMode();
bool SeededModeEnabled();

}  // namespace orvane
