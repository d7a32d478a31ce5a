#pragma once
// The small float32 vector helpers the model reader and its drawing share.

#include <array>
#include <cstdint>

namespace orvane {

struct TVector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

// The single-precision value nearest 1/255 (bits 0x3B808081): colour bytes to floats.
inline constexpr float kByteToUnit = 0.0039215689f;

void VectorZero(TVector3& v);
float VectorLength(const TVector3& v);
// Divides by the length only when it is not 0; returns the length.
float VectorNormalize(TVector3& v);
TVector3 VectorAdd(const TVector3& a, const TVector3& b);
TVector3 VectorSubtract(const TVector3& a, const TVector3& b);
TVector3 VectorDivide(const TVector3& v, float d);
TVector3 VectorCross(const TVector3& a, const TVector3& b);

// A packed 24-bit colour (red in bits 0-7, green 8-15, blue 16-23) as red, green, blue, 1.
std::array<float, 4> ColorToFloats(uint32_t packed);

}  // namespace orvane
