#pragma once
// The emitter's drag factor per frame, c = f32((FastExp(k) - 1) * FastExp(f32(-k * frame))),
// depends only on the resistance k and the frame. Sets chained from the same device share
// k, so one table per resistance spares each of them its exponential every frame.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace orvane {

class EmitterMotion {
 public:
  explicit EmitterMotion(float resistance);
  // FastExp(k) - 1, in double.
  double Drag() const { return drag_; }
  // c for a frame; the table grows as later frames are asked for.
  float Factor(uint32_t frame);
  // c worked out directly, the reference for the table.
  static float Compute(double drag, float resistance, uint32_t frame);

 private:
  float resistance_;
  double drag_;
  std::vector<float> factors_;
};

// The tables of one compile, by resistance (its bit pattern, so -0 and NaNs stay apart).
class EmitterMotions {
 public:
  EmitterMotion& For(float resistance);
  void Clear() { tables_.clear(); }

 private:
  std::unordered_map<uint32_t, std::unique_ptr<EmitterMotion>> tables_;
};

}  // namespace orvane
