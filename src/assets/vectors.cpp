#include "assets/vectors.h"

#include <cmath>

namespace orvane {

void VectorZero(TVector3& v) { v = TVector3{}; }

float VectorLength(const TVector3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

float VectorNormalize(TVector3& v) {
  const float length = VectorLength(v);
  if (length != 0.0f) {
    v.x /= length;
    v.y /= length;
    v.z /= length;
  }
  return length;
}

TVector3 VectorAdd(const TVector3& a, const TVector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

TVector3 VectorSubtract(const TVector3& a, const TVector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

TVector3 VectorDivide(const TVector3& v, float d) { return {v.x / d, v.y / d, v.z / d}; }

TVector3 VectorCross(const TVector3& a, const TVector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

std::array<float, 4> ColorToFloats(uint32_t packed) {
  return {static_cast<float>(packed & 0xFFu) * kByteToUnit, static_cast<float>((packed >> 8) & 0xFFu) * kByteToUnit,
          static_cast<float>((packed >> 16) & 0xFFu) * kByteToUnit, 1.0f};
}

}  // namespace orvane
