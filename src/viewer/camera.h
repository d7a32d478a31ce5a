#pragma once
// First-person camera of the display window: plain state, stepped once per render tick.

#include <cstdint>

namespace orvane {

struct CameraPoint {
  float x = 0, y = 0, z = 0;
};

struct CameraState {
  float Pitch = 0;  // degrees, positive looks up
  float Yaw = 180;  // degrees, 180 looks toward -z
  float LookDistance = 8;
  CameraPoint Eye{0, 0, 8};
  CameraPoint Target{0, 0, 0};
  int32_t ForwardSpeed = 0;
  int32_t StrafeSpeed = 0;  // positive moves left
  bool KeyUp = false, KeyDown = false, KeyLeft = false, KeyRight = false;
  int32_t DragX = 0, DragY = 0, LiftY = 0;
  bool MouseHeld = false;
  int32_t JoyMax[3] = {65535, 65535, 65535};
  float JoyAxis[3] = {0, 0, 0};
  bool JoyActive[3] = {false, false, false};
};

inline constexpr int32_t kKeySpeedLimit = 25;
inline constexpr int32_t kKeyAcceleration = 2;
inline constexpr double kJoystickDeadZone = 0.075;
inline constexpr float kPitchLimit = 89;

// Back to the start values; key flags and drag references are left alone.
void ResetCamera(CameraState& camera);

// Speeds from keys or joystick, then position and target.
void StepCamera(CameraState& camera);

// Moves the eye by the current speeds along the heading (the camera stays level).
void MoveEye(CameraState& camera);

// One tick of the automatic orbit: turn left one degree while sliding sideways.
void RotateStep(CameraState& camera);

}  // namespace orvane
