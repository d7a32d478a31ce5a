#pragma once
// A run of draws from the process-wide generator without its atomic step per draw: it
// takes the generator's seed, advances a copy by the same recurrence and hands it back
// at the end, so the values and their order are those of Random(). Only for loops that
// no other thread draws during, like the trail passes of the compile thread.

#include <cstdint>

#include "util/random.h"

namespace orvane {

class RandomStretch {
 public:
  RandomStretch() : seed_(RandomSeed()) {}
  ~RandomStretch() { SetRandomSeed(seed_); }
  RandomStretch(const RandomStretch&) = delete;
  RandomStretch& operator=(const RandomStretch&) = delete;

  // Random(n) for n >= 0.
  int32_t operator()(uint32_t n) {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<int32_t>(static_cast<uint32_t>((static_cast<uint64_t>(seed_) * n) >> 32));
  }

 private:
  uint32_t seed_;
};

}  // namespace orvane
