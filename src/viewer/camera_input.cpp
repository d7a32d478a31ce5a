#include "viewer/camera_input.h"

#include "util/rounding.h"

namespace orvane {
namespace {

void LookAround(CameraState& c, int32_t x, int32_t y) {
  if (x > c.DragX) {
    c.Yaw = F32(c.Yaw - (x - c.DragX) / 10.0);
    c.DragX = x;
  } else if (x < c.DragX) {
    c.Yaw = F32(c.Yaw + (c.DragX - x) / 10.0);
    c.DragX = x;
  }
  // At the clamp the reference y is kept, so moving back starts from the limit.
  if (y > c.DragY) {
    c.Pitch = F32(c.Pitch - (y - c.DragY) / 10.0);
    if (c.Pitch > -kPitchLimit) {
      c.DragY = y;
    } else {
      c.Pitch = -kPitchLimit;
    }
  } else if (y < c.DragY) {
    c.Pitch = F32(c.Pitch + (c.DragY - y) / 10.0);
    if (c.Pitch >= kPitchLimit) {
      c.Pitch = kPitchLimit;
    } else {
      c.DragY = y;
    }
  }
}

void Lift(CameraState& c, int32_t y) {
  if (y > c.LiftY) {
    c.Eye.y = F32(c.Eye.y - (y - c.LiftY) / 100.0);
  } else if (y < c.LiftY) {
    c.Eye.y = F32(c.Eye.y + (c.LiftY - y) / 100.0);
  }
  c.LiftY = y;
}

// The stored float32 deflection is compared, so exactly 0.075 counts as active.
void ApplyDeadZone(CameraState& c, int axis) {
  const float v = c.JoyAxis[axis];
  if (v >= kJoystickDeadZone || v <= -kJoystickDeadZone) {
    c.JoyActive[axis] = true;
  } else {
    c.JoyAxis[axis] = 0;
    c.JoyActive[axis] = false;
  }
}

float Deflection(uint32_t position, int32_t maximum) {
  // A joystick reporting no range leaves the axis centred rather than dividing by zero.
  if (maximum <= 0) return 0;
  return F32(static_cast<double>(position) / maximum - 0.5);
}

}  // namespace

bool SetArrowKey(CameraState& c, int32_t key, bool held) {
  switch (key) {
    case kKeyLeft: c.KeyLeft = held; return true;
    case kKeyUp: c.KeyUp = held; return true;
    case kKeyRight: c.KeyRight = held; return true;
    case kKeyDown: c.KeyDown = held; return true;
    default: return false;
  }
}

void PanelMouseDown(CameraState& c, int32_t x, int32_t y, MouseButtons buttons) {
  if (c.MouseHeld) return;
  if (buttons.left) {
    c.DragX = x;
    c.DragY = y;
  }
  if (buttons.right) c.LiftY = y;
  c.MouseHeld = true;
}

void PanelMouseMove(CameraState& c, int32_t x, int32_t y, MouseButtons buttons) {
  if (buttons.left) LookAround(c, x, y);
  if (buttons.right) Lift(c, y);
}

void PanelMouseUp(CameraState& c) { c.MouseHeld = false; }

void JoystickMove(CameraState& c, uint32_t x, uint32_t y) {
  c.JoyAxis[0] = Deflection(x & 0xFFFF, c.JoyMax[0]);
  c.JoyAxis[1] = Deflection(y & 0xFFFF, c.JoyMax[1]);
  ApplyDeadZone(c, 1);
  ApplyDeadZone(c, 0);
}

void JoystickZMove(CameraState& c, uint32_t z) {
  c.JoyAxis[2] = Deflection(z & 0xFFFF, c.JoyMax[2]);
  ApplyDeadZone(c, 2);
}

}  // namespace orvane
