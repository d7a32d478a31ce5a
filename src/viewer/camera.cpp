#include "viewer/camera.h"

#include <cmath>

#include "util/rounding.h"

namespace orvane {
namespace {

constexpr double kRadiansPerDegree = M_PI / 180.0;

int32_t DecayTowardZero(int32_t speed) {
  if (speed > 0) return speed - 1;
  if (speed < 0) return speed + 1;
  return 0;
}

int32_t JoystickSpeed(float axis) { return -RoundHalfEven(F32(axis * 60.0f)); }

void StepForwardSpeed(CameraState& c) {
  if (c.KeyUp || c.KeyDown) {
    if (c.KeyUp && c.ForwardSpeed < kKeySpeedLimit) c.ForwardSpeed += kKeyAcceleration;
    if (c.KeyDown && c.ForwardSpeed > -kKeySpeedLimit) c.ForwardSpeed -= kKeyAcceleration;
  } else if (c.JoyActive[1]) {
    c.ForwardSpeed = JoystickSpeed(c.JoyAxis[1]);
  } else {
    c.ForwardSpeed = DecayTowardZero(c.ForwardSpeed);
  }
}

void StepStrafeSpeed(CameraState& c) {
  if (c.KeyLeft || c.KeyRight) {
    if (c.KeyRight && c.StrafeSpeed > -kKeySpeedLimit) c.StrafeSpeed -= kKeyAcceleration;
    if (c.KeyLeft && c.StrafeSpeed < kKeySpeedLimit) c.StrafeSpeed += kKeyAcceleration;
  } else if (c.JoyActive[0]) {
    c.StrafeSpeed = JoystickSpeed(c.JoyAxis[0]);
  } else {
    c.StrafeSpeed = DecayTowardZero(c.StrafeSpeed);
  }
}

void AimTarget(CameraState& c) {
  const double h = c.Yaw * kRadiansPerDegree;
  const double p = c.Pitch * kRadiansPerDegree;
  c.Target.x = F32(std::cos(p) * c.LookDistance * std::sin(h) + c.Eye.x);
  c.Target.y = F32(std::sin(p) * c.LookDistance + c.Eye.y);
  c.Target.z = F32(std::cos(p) * c.LookDistance * std::cos(h) + c.Eye.z);
}

}  // namespace

void ResetCamera(CameraState& c) {
  c.Pitch = 0;
  c.Yaw = 180;
  c.LookDistance = 8;
  c.Eye = {0, 0, 8};
  c.Target = {0, 0, 0};
  c.ForwardSpeed = 0;
  c.StrafeSpeed = 0;
}

void MoveEye(CameraState& c) {
  const double h = c.Yaw * kRadiansPerDegree;
  c.Eye.x = F32(c.Eye.x + std::sin(h) * c.ForwardSpeed / 200 + std::cos(h) * c.StrafeSpeed / 200);
  c.Eye.z = F32(c.Eye.z + std::cos(h) * c.ForwardSpeed / 200 + std::sin(-h) * c.StrafeSpeed / 200);
}

void StepCamera(CameraState& c) {
  StepForwardSpeed(c);
  StepStrafeSpeed(c);
  if (c.JoyActive[2]) c.Eye.y = F32(c.Eye.y - c.JoyAxis[2] / 5.0f);
  MoveEye(c);
  AimTarget(c);
}

void RotateStep(CameraState& c) {
  c.Yaw += 1;
  c.StrafeSpeed = -13;
  MoveEye(c);
}

}  // namespace orvane
