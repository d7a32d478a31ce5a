#pragma once
// The 10-byte particle record of a frame, decoded for drawing.

#include <cstddef>
#include <cstdint>

namespace orvane {

struct DecodedParticle {
  float X = 0, Y = 0, Z = 0;
  float Red = 0, Green = 0, Blue = 0, Alpha = 0;
  float HalfSize = 0;
};

// `record` points at 10 readable bytes.
DecodedParticle DecodeParticle(const uint8_t* record);

}  // namespace orvane
