#pragma once
// Joystick 1 as the display window gets it: positions 0 ... 65535 per axis and the first
// four buttons, reported only when they change (a move, a z move, a button going down).

#include <cstdint>
#include <optional>
#include <utility>

namespace orvane {

// One poll of the device.
struct JoystickSample {
  int16_t Axis[3] = {0, 0, 0};  // the device's raw signed positions
  uint32_t Buttons = 0;         // bit i: button i + 1 held (first four only)
};

struct JoystickEvents {
  std::optional<std::pair<uint32_t, uint32_t>> Move;  // x, y
  std::optional<uint32_t> ZMove;
  // The held buttons in the low bits and those that changed in bits 8 to 11, when a
  // button went down; a release alone reports nothing.
  std::optional<uint32_t> ButtonDown;
};

// Signed device range onto 0 ... 65535, centre 32768.
uint32_t JoystickPosition(int16_t raw);

class JoystickState {
 public:
  // The events for `sample` against the last one; the first sample reports its positions.
  JoystickEvents Poll(const JoystickSample& sample);

 private:
  std::optional<JoystickSample> last_;
};

}  // namespace orvane
