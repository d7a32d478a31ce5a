#include "ui/joystick_state.h"

namespace orvane {

uint32_t JoystickPosition(int16_t raw) { return static_cast<uint32_t>(int32_t{raw} + 32768); }

JoystickEvents JoystickState::Poll(const JoystickSample& sample) {
  JoystickEvents events;
  const bool first = !last_.has_value();
  const JoystickSample before = last_.value_or(JoystickSample{});
  if (first || sample.Axis[0] != before.Axis[0] || sample.Axis[1] != before.Axis[1])
    events.Move = std::pair{JoystickPosition(sample.Axis[0]), JoystickPosition(sample.Axis[1])};
  if (first || sample.Axis[2] != before.Axis[2]) events.ZMove = JoystickPosition(sample.Axis[2]);
  const uint32_t held = sample.Buttons & 0x0F;
  const uint32_t changed = held ^ (before.Buttons & 0x0F);
  if (changed & held) events.ButtonDown = held | (changed << 8);
  last_ = sample;
  last_->Buttons = held;
  return events;
}

}  // namespace orvane
