#include "viewer/particle_record.h"

#include "compiler/show_record.h"

namespace orvane {

DecodedParticle DecodeParticle(const uint8_t* bytes) {
  const ParticleRecord r = DecodeRecord(bytes);
  DecodedParticle p;
  p.X = static_cast<float>(r.X / 3000.0);
  p.Y = static_cast<float>(r.Y / 3000.0);
  p.Z = static_cast<float>(r.Z / 3000.0);
  p.Red = static_cast<float>(r.Red / 255.0);
  p.Green = static_cast<float>(r.Green / 255.0);
  p.Blue = static_cast<float>(r.Blue / 255.0);
  p.Alpha = static_cast<float>(r.AlphaLevel() / 15.0);
  const float half = static_cast<float>(r.SizeLevel() / 100.0);
  // A size nibble of 0 still draws a small quad.
  p.HalfSize = half > 0 ? half : 0.005f;
  return p;
}

}  // namespace orvane
