#include "ui/joystick_state.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(JoystickState, PositionsMapOntoTheUnsignedRange) {
  EXPECT_EQ(JoystickPosition(-32768), 0u);
  EXPECT_EQ(JoystickPosition(0), 32768u);
  EXPECT_EQ(JoystickPosition(32767), 65535u);
}

TEST(JoystickState, ReportsOnlyChanges) {
  JoystickState s;
  JoystickSample rest;
  const auto first = s.Poll(rest);
  ASSERT_TRUE(first.Move);
  EXPECT_EQ(*first.Move, (std::pair<uint32_t, uint32_t>{32768, 32768}));
  EXPECT_EQ(first.ZMove, 32768u);
  EXPECT_FALSE(first.ButtonDown);

  const auto same = s.Poll(rest);
  EXPECT_FALSE(same.Move);
  EXPECT_FALSE(same.ZMove);
  EXPECT_FALSE(same.ButtonDown);

  JoystickSample pushed = rest;
  pushed.Axis[1] = -32768;
  const auto moved = s.Poll(pushed);
  ASSERT_TRUE(moved.Move);
  EXPECT_EQ(moved.Move->second, 0u);
  EXPECT_FALSE(moved.ZMove);

  pushed.Axis[2] = 100;
  const auto lifted = s.Poll(pushed);
  EXPECT_FALSE(lifted.Move);
  EXPECT_EQ(lifted.ZMove, 32868u);
}

TEST(JoystickState, ButtonDownCarriesHeldAndChangedBits) {
  JoystickState s;
  JoystickSample sample;
  s.Poll(sample);
  sample.Buttons = 0x1;  // button 1 down
  EXPECT_EQ(s.Poll(sample).ButtonDown, 0x0101u);
  sample.Buttons = 0x3;  // button 2 joins
  EXPECT_EQ(s.Poll(sample).ButtonDown, 0x0203u);
  sample.Buttons = 0x2;  // button 1 released: nothing
  EXPECT_FALSE(s.Poll(sample).ButtonDown);
  sample.Buttons = 0x2 | 0x10;  // a fifth button is not reported
  EXPECT_FALSE(s.Poll(sample).ButtonDown);
  sample.Buttons = 0x8;  // 2 up, 4 down in one poll: 4 changed and held, 2 changed
  EXPECT_EQ(s.Poll(sample).ButtonDown, 0x0A08u);
}

}  // namespace
}  // namespace orvane
