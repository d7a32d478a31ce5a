#include "model/color_segment.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvane {
namespace {

TEST(ColorSegment, DerivesBytesAndRatePerWholeLife) {
  const ColorSegment s = NewColorSegment(0, 50, kMixColor, 0x0080FFFF, 0x0080FF80);
  EXPECT_EQ(s.InitialRGB, (std::array<uint8_t, 3>{255, 255, 128}));
  EXPECT_EQ(s.FinalRGB, (std::array<uint8_t, 3>{128, 255, 128}));
  EXPECT_FLOAT_EQ(s.ColorRate[0], -254.0f);
  EXPECT_FLOAT_EQ(s.ColorRate[1], 0.0f);
  EXPECT_FLOAT_EQ(s.ColorRate[2], 0.0f);
  EXPECT_EQ(s.Flags, kMixColor);
}

TEST(ColorSegment, NoTransitionHasZeroRate) {
  const ColorSegment s = NewColorSegment(10, 90, 0, 0x00123456, 0x00123456);
  for (float r : s.ColorRate) EXPECT_EQ(r, 0.0f);
}

TEST(ColorSegment, EmptyOrReversedSpanDoesNotTrap) {
  const ColorSegment empty = NewColorSegment(40, 40, kMixColor, 0x000000FF, 0x00000000);
  EXPECT_TRUE(std::isinf(empty.ColorRate[0]));
  EXPECT_TRUE(std::isnan(empty.ColorRate[1]));  // 0 / 0
  const ColorSegment reversed = NewColorSegment(60, 10, kMixColor, 0x00000000, 0x000000FF);
  EXPECT_FLOAT_EQ(reversed.ColorRate[0], -510.0f);
}

}  // namespace
}  // namespace orvane
