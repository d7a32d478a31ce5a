#include "compiler/emitter_motion.h"

#include <cstring>

#include "compiler/fast_exp.h"

namespace orvane {
namespace {

// Beyond this many frames (11 hours of show) the factor is worked out each time.
constexpr uint32_t kTabledFrames = 1u << 20;

}  // namespace

EmitterMotion::EmitterMotion(float resistance) : resistance_(resistance), drag_(FastExp(resistance) - 1) {}

float EmitterMotion::Compute(double drag, float resistance, uint32_t frame) {
  return static_cast<float>(drag * FastExp(-resistance * static_cast<float>(frame)));
}

float EmitterMotion::Factor(uint32_t frame) {
  if (frame >= kTabledFrames) return Compute(drag_, resistance_, frame);
  while (factors_.size() <= frame)
    factors_.push_back(Compute(drag_, resistance_, static_cast<uint32_t>(factors_.size())));
  return factors_[frame];
}

EmitterMotion& EmitterMotions::For(float resistance) {
  uint32_t bits;
  std::memcpy(&bits, &resistance, sizeof bits);
  auto& slot = tables_[bits];
  if (!slot) slot = std::make_unique<EmitterMotion>(resistance);
  return *slot;
}

}  // namespace orvane
