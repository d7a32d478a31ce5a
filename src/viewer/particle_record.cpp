#include "viewer/particle_record.h"

namespace orvane {
namespace {

int16_t ReadInt16(const uint8_t* p) { return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8))); }

}  // namespace

DecodedParticle DecodeParticle(const uint8_t* r) {
  DecodedParticle p;
  p.X = static_cast<float>(ReadInt16(r) / 3000.0);
  p.Y = static_cast<float>(ReadInt16(r + 2) / 3000.0);
  p.Z = static_cast<float>(ReadInt16(r + 4) / 3000.0);
  p.Red = static_cast<float>(r[6] / 255.0);
  p.Green = static_cast<float>(r[7] / 255.0);
  p.Blue = static_cast<float>(r[8] / 255.0);
  p.Alpha = static_cast<float>((r[9] >> 4) / 15.0);
  const float half = static_cast<float>((r[9] & 0x0F) / 100.0);
  // A size nibble of 0 still draws a small quad.
  p.HalfSize = half > 0 ? half : 0.005f;
  return p;
}

}  // namespace orvane
