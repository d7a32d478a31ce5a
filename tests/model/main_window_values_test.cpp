#include "model/main_window_values.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(TrackHint, ShowsThePositionWithItsUnit) {
  EXPECT_EQ(TrackHint(0, HintUnit::Degrees), "0\u00B0");
  EXPECT_EQ(TrackHint(360, HintUnit::Degrees), "360\u00B0");
  EXPECT_EQ(TrackHint(-100, HintUnit::Percent), "-100%");
  EXPECT_EQ(TrackHint(5, HintUnit::Tenths), "0.5");
  EXPECT_EQ(TrackHint(10, HintUnit::Tenths), "1.0");
  EXPECT_EQ(TrackHint(30, HintUnit::Tenths), "3.0");
  EXPECT_EQ(TrackHint(17, HintUnit::Tenths), "1.7");
}

TEST(BoxValue, RefusedOrEmptyTextGivesZero) {
  EXPECT_EQ(BoxValue("abc"), 0.0f);
  EXPECT_EQ(BoxValue(""), 0.0f);
  EXPECT_EQ(BoxValue("0"), 0.0f);
  EXPECT_EQ(BoxValue("0,5"), 0.5f);
  EXPECT_EQ(BoxValue("0.5"), 0.5f);
  EXPECT_EQ(BoxValue("-2"), -2.0f);
  EXPECT_EQ(BoxValue("1.000,5"), 0.0f);
  EXPECT_EQ(BoxValue("1e999"), 0.0f);
}

}  // namespace
}  // namespace orvane
