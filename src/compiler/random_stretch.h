#pragma once
// A run of draws from the process-wide generator without its atomic step per draw: it
// takes the generator's seed, advances a copy by the same recurrence and hands it back
// at the end, so the values and their order are those of Random(). Only for loops that
// no other thread draws during, like the trail passes of the compile thread.

#include <cstdint>

#include "util/random.h"

namespace orvane {

// The seed `draws` draws after `seed`: the recurrence's n-fold step, a = m^n and
// c = 1 + m + ... + m^(n-1), built by squaring.
constexpr uint32_t SeedAfterDraws(uint32_t seed, uint64_t draws) {
  uint32_t mul = 1, add = 0;
  uint32_t stepMul = kRandomMultiplier, stepAdd = kRandomIncrement;
  for (; draws != 0; draws >>= 1) {
    if (draws & 1) {
      mul *= stepMul;
      add = add * stepMul + stepAdd;
    }
    stepAdd = stepAdd * stepMul + stepAdd;
    stepMul *= stepMul;
  }
  return seed * mul + add;
}

class RandomStretch {
 public:
  RandomStretch() : seed_(RandomSeed()) {}
  // Starts `skip` draws ahead of the generator, for a second run of draws that must
  // come after a first one of known length, taken side by side with it.
  explicit RandomStretch(uint64_t skip) : seed_(SeedAfterDraws(RandomSeed(), skip)) {}
  ~RandomStretch() { SetRandomSeed(seed_); }
  RandomStretch(const RandomStretch&) = delete;
  RandomStretch& operator=(const RandomStretch&) = delete;

  // Random(n) for n >= 0.
  int32_t operator()(uint32_t n) {
    seed_ = NextRandomSeed(seed_);
    return DrawFromSeed(seed_, n);
  }

 private:
  uint32_t seed_;
};

}  // namespace orvane
