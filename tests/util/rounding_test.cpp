#include "util/rounding.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvane {
namespace {

TEST(Rounding, HalvesGoToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(24.5), 24);
  EXPECT_EQ(RoundHalfEven(127.5), 128);
  EXPECT_EQ(RoundHalfEven(2.4999999), 2);
}

TEST(Rounding, NotRepresentableGivesIntegerIndefinite) {
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), INT32_MIN);
  EXPECT_EQ(RoundHalfEven(3e9), INT32_MIN);
  EXPECT_EQ(RoundHalfEven(-3e9), INT32_MIN);
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()), INT32_MIN);
  EXPECT_EQ(RoundHalfEven(2147483647.0), 2147483647);
  EXPECT_EQ(RoundHalfEven(-2147483648.0), INT32_MIN);
}

TEST(Rounding, TruncGoesTowardZero) {
  EXPECT_EQ(Trunc(1.9), 1);
  EXPECT_EQ(Trunc(-1.9), -1);
  EXPECT_EQ(Trunc(-0.2), 0);
  EXPECT_EQ(Trunc(std::numeric_limits<double>::quiet_NaN()), INT32_MIN);
  EXPECT_EQ(Trunc(5e9), INT32_MIN);
}

}  // namespace
}  // namespace orvane
