#pragma once
// Mouse and joystick input of the display panel as plain values, so a host window only
// forwards what its toolkit reports.

#include <cstdint>

#include "viewer/camera.h"

namespace orvane {

// Key codes the display window understands (the host maps its toolkit's keys onto them).
enum KeyCode : int32_t {
  kKeyReturn = 13,
  kKeyPause = 19,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyF1 = 112,
  kKeyF2 = 113,
  kKeyF3 = 114,
  kKeyF4 = 115,
  kKeyF5 = 116,
};

// Which mouse buttons are down.
struct MouseButtons {
  bool left = false;
  bool right = false;
};

// Joystick button bits of a button message: the state and the changed bits.
enum JoystickButtonBits : uint32_t {
  kJoyButton1 = 0x0001,
  kJoyButton2 = 0x0002,
  kJoyButton3 = 0x0004,
  kJoyButton4 = 0x0008,
  kJoyButton1Changed = 0x0100,
  kJoyButton2Changed = 0x0200,
  kJoyButton3Changed = 0x0400,
  kJoyButton4Changed = 0x0800,
};

// Arrow keys set or clear their flag; true when the key was an arrow.
bool SetArrowKey(CameraState& camera, int32_t key, bool held);

void PanelMouseDown(CameraState& camera, int32_t x, int32_t y, MouseButtons buttons);
void PanelMouseMove(CameraState& camera, int32_t x, int32_t y, MouseButtons buttons);
void PanelMouseUp(CameraState& camera);

// Axis positions 0 ... 65535 (or up to JoyMax).
void JoystickMove(CameraState& camera, uint32_t x, uint32_t y);
void JoystickZMove(CameraState& camera, uint32_t z);

}  // namespace orvane
