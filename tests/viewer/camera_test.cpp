// The camera and its input handlers, driven with plain values.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <sstream>
#include <string>

#include "model/about_text.h"
#include "viewer/camera.h"
#include "viewer/camera_input.h"

namespace orvane {
namespace {

std::vector<int32_t> ForwardSpeeds(CameraState& c, int ticks) {
  std::vector<int32_t> speeds;
  for (int i = 0; i < ticks; ++i) {
    StepCamera(c);
    speeds.push_back(c.ForwardSpeed);
  }
  return speeds;
}

TEST(CameraSpeed, UpArrowAcceleratesToTwentySixThenDecaysByOne) {
  CameraState c;
  SetArrowKey(c, kKeyUp, true);
  std::vector<int32_t> expected;
  for (int v = 2; v <= 26; v += 2) expected.push_back(v);
  expected.push_back(26);
  expected.push_back(26);
  EXPECT_EQ(ForwardSpeeds(c, 15), expected);
  SetArrowKey(c, kKeyUp, false);
  const std::vector<int32_t> decay = ForwardSpeeds(c, 27);
  for (int i = 0; i < 26; ++i) EXPECT_EQ(decay[static_cast<size_t>(i)], 25 - i);
  EXPECT_EQ(decay.back(), 0);
}

TEST(CameraSpeed, DownArrowAndStrafeMirrorTheLimits) {
  CameraState c;
  SetArrowKey(c, kKeyDown, true);
  SetArrowKey(c, kKeyRight, true);
  for (int i = 0; i < 20; ++i) StepCamera(c);
  EXPECT_EQ(c.ForwardSpeed, -26);
  EXPECT_EQ(c.StrafeSpeed, -26);
  SetArrowKey(c, kKeyRight, false);
  SetArrowKey(c, kKeyLeft, true);
  StepCamera(c);
  EXPECT_EQ(c.StrafeSpeed, -24);
}

TEST(CameraSpeed, BothArrowsOfAPairCancelInTheSameTick) {
  CameraState c;
  SetArrowKey(c, kKeyUp, true);
  SetArrowKey(c, kKeyDown, true);
  SetArrowKey(c, kKeyLeft, true);
  SetArrowKey(c, kKeyRight, true);
  for (int i = 0; i < 3; ++i) {
    StepCamera(c);
    EXPECT_EQ(c.ForwardSpeed, 0);
    EXPECT_EQ(c.StrafeSpeed, 0);
  }
  // At 25 the up arrow no longer adds while the down arrow still subtracts.
  c.ForwardSpeed = 25;
  StepCamera(c);
  EXPECT_EQ(c.ForwardSpeed, 23);
}

TEST(CameraMotion, MovesLevelAlongTheHeadingAndAimsAtTheTarget) {
  CameraState c;
  c.Pitch = 30;
  c.ForwardSpeed = 20;
  c.KeyUp = false;
  SetArrowKey(c, kKeyUp, true);
  StepCamera(c);  // speed 22, heading 180: toward -z
  EXPECT_NEAR(c.Eye.z, 8 - 22 / 200.0, 1e-6);
  EXPECT_NEAR(c.Eye.x, 0, 1e-6);
  EXPECT_FLOAT_EQ(c.Eye.y, 0) << "pitch does not lift the camera";
  EXPECT_NEAR(c.Target.y, 8 * std::sin(30 * M_PI / 180), 1e-5);
  EXPECT_NEAR(c.Target.z, c.Eye.z - 8 * std::cos(30 * M_PI / 180), 1e-5);
}

TEST(CameraMotion, RotateStepTurnsSlidesAndLeavesTheTargetForTheNextTick) {
  CameraState c;
  StepCamera(c);
  const CameraPoint target = c.Target;
  RotateStep(c);
  EXPECT_FLOAT_EQ(c.Yaw, 181);
  EXPECT_EQ(c.StrafeSpeed, -13);
  const double h = 181 * M_PI / 180;
  EXPECT_NEAR(c.Eye.x, std::cos(h) * -13 / 200, 1e-6);
  EXPECT_NEAR(c.Eye.z, 8 + std::sin(-h) * -13 / 200, 1e-6);
  EXPECT_FLOAT_EQ(c.Target.x, target.x);
  EXPECT_FLOAT_EQ(c.Target.z, target.z);
  // The next tick decays the strafe speed by one before moving.
  StepCamera(c);
  EXPECT_EQ(c.StrafeSpeed, -12);
}

TEST(CameraMotion, ResetKeepsKeyFlagsAndDragReferences) {
  CameraState c;
  c.Eye = {3, 4, 5};
  c.Yaw = 12;
  c.ForwardSpeed = 9;
  c.KeyLeft = true;
  c.DragX = 40;
  ResetCamera(c);
  EXPECT_FLOAT_EQ(c.Eye.z, 8);
  EXPECT_FLOAT_EQ(c.Yaw, 180);
  EXPECT_EQ(c.ForwardSpeed, 0);
  EXPECT_TRUE(c.KeyLeft);
  EXPECT_EQ(c.DragX, 40);
}

TEST(CameraMouse, LeftDragTurnsAndPitchClampKeepsTheReference) {
  CameraState c;
  PanelMouseDown(c, 100, 100, {true, false});
  EXPECT_TRUE(c.MouseHeld);
  PanelMouseMove(c, 120, 100, {true, false});
  EXPECT_FLOAT_EQ(c.Yaw, 178);
  EXPECT_EQ(c.DragX, 120);
  PanelMouseMove(c, 120, 0, {true, false});  // up by 100 pixels: 10 degrees
  EXPECT_FLOAT_EQ(c.Pitch, 10);
  EXPECT_EQ(c.DragY, 0);
  PanelMouseMove(c, 120, -800, {true, false});  // would reach 90
  EXPECT_FLOAT_EQ(c.Pitch, 89);
  EXPECT_EQ(c.DragY, 0) << "the clamp keeps the old reference";
  PanelMouseMove(c, 120, 50, {true, false});  // moving back down starts from the clamp
  EXPECT_FLOAT_EQ(c.Pitch, 84);
  EXPECT_EQ(c.DragY, 50);
  PanelMouseMove(c, 120, 2000, {true, false});
  EXPECT_FLOAT_EQ(c.Pitch, -89);
  EXPECT_EQ(c.DragY, 50);
}

TEST(CameraMouse, SecondPressIsIgnoredUntilReleaseAndRightDragLifts) {
  CameraState c;
  PanelMouseDown(c, 10, 20, {false, true});
  EXPECT_EQ(c.LiftY, 20);
  PanelMouseDown(c, 99, 99, {true, true});
  EXPECT_EQ(c.DragX, 0) << "held: the second press is ignored";
  PanelMouseMove(c, 10, 70, {false, true});
  EXPECT_FLOAT_EQ(c.Eye.y, -0.5f);
  PanelMouseMove(c, 10, 20, {false, true});
  EXPECT_NEAR(c.Eye.y, 0, 1e-6);
  PanelMouseUp(c);
  PanelMouseDown(c, 99, 98, {true, false});
  EXPECT_EQ(c.DragX, 99);
  EXPECT_EQ(c.DragY, 98);
}

TEST(CameraJoystick, DeadZoneStartsAtExactlyPointZeroSevenFive) {
  CameraState c;
  c.JoyMax[0] = c.JoyMax[1] = 1000;
  JoystickMove(c, 575, 500);  // x deflection 0.075, y centred
  EXPECT_TRUE(c.JoyActive[0]);
  EXPECT_FALSE(c.JoyActive[1]);
  EXPECT_FLOAT_EQ(c.JoyAxis[1], 0);
  JoystickMove(c, 574, 425);  // 0.074 inside, -0.075 active
  EXPECT_FALSE(c.JoyActive[0]);
  EXPECT_FLOAT_EQ(c.JoyAxis[0], 0) << "inside the dead zone the value is zeroed";
  EXPECT_TRUE(c.JoyActive[1]);
  c.JoyMax[2] = 40;
  JoystickZMove(c, 23);
  EXPECT_TRUE(c.JoyActive[2]);
}

TEST(CameraJoystick, StickSetsSpeedsOutrightUnlessKeysHold) {
  CameraState c;
  JoystickMove(c, 65535, 0);  // full right, full forward
  StepCamera(c);
  EXPECT_EQ(c.ForwardSpeed, 30);
  EXPECT_EQ(c.StrafeSpeed, -30);
  SetArrowKey(c, kKeyDown, true);
  StepCamera(c);
  EXPECT_EQ(c.ForwardSpeed, 28) << "a held key of the pair wins over the stick";
  JoystickZMove(c, 0);  // z deflection -0.5 lifts by 0.1 a tick
  const float y = c.Eye.y;
  StepCamera(c);
  EXPECT_NEAR(c.Eye.y, y + 0.1f, 1e-6);
}

TEST(CameraJoystick, NoRangeReportedLeavesTheAxisCentred) {
  CameraState c;
  c.JoyMax[0] = 0;
  JoystickMove(c, 60000, 32767);
  EXPECT_FALSE(c.JoyActive[0]);
  EXPECT_FALSE(std::isnan(c.JoyAxis[0]));
}

// The Help box's line for a mouse button, found by its start.
std::string HelpLineFor(const std::string& start) {
  std::istringstream lines(HelpText());
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(start, 0) == 0) return line;
  }
  return {};
}

// A drag down and to the right with the given buttons, from rest.
CameraState Dragged(MouseButtons buttons) {
  CameraState c;
  PanelMouseDown(c, 100, 100, buttons);
  PanelMouseMove(c, 150, 150, buttons);
  PanelMouseUp(c);
  return c;
}

TEST(HelpText, MouseLinesSayWhatEachDragDoes) {
  const CameraState rest;
  const std::string left = HelpLineFor("Left click + mouse movement");
  const std::string right = HelpLineFor("Right click + mouse movement");
  ASSERT_FALSE(left.empty());
  ASSERT_FALSE(right.empty());

  const CameraState l = Dragged({.left = true});
  EXPECT_NE(l.Yaw, rest.Yaw);
  EXPECT_NE(l.Pitch, rest.Pitch);
  EXPECT_EQ(l.Eye.y, rest.Eye.y);
  EXPECT_NE(left.find("viewpoint"), std::string::npos) << left;

  const CameraState r = Dragged({.right = true});
  EXPECT_EQ(r.Yaw, rest.Yaw);
  EXPECT_EQ(r.Pitch, rest.Pitch);
  EXPECT_NE(r.Eye.y, rest.Eye.y);
  EXPECT_NE(right.find("height"), std::string::npos) << right;
  EXPECT_NE(right.find("control Z(Joystick)"), std::string::npos) << right;
}

}  // namespace
}  // namespace orvane
