#include "compiler/fast_exp.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvane {
namespace {

TEST(FastExp, ReferenceValuesToTheLastBit) {
  EXPECT_EQ(FastExp(1), 2.718281828459557);
  EXPECT_EQ(FastExp(-1), 0.36787944117137306);
  EXPECT_EQ(FastExp(0.5), 1.6487212707001286);
  EXPECT_EQ(FastExp(2), 7.389056099110443);
  EXPECT_EQ(FastExp(-2), 0.13533528323331967);
  EXPECT_EQ(FastExp(5), 148.41315910739416);
  EXPECT_EQ(FastExp(-10), 4.539992976244403e-05);
}

TEST(FastExp, ZeroTakesTheInfinityPathWithoutTrapping) {
  // d = 0: K2 / d is +inf and the bracket collapses to K4 / K1 - 1.
  EXPECT_EQ(FastExp(0), 1.0000000000000002);
  // A magnitude with one exact decimal digit also has d = 0 (a = 0.5 exactly here).
  const double x = 0.5 / 0.434294481903251;
  const double r = FastExp(x);
  EXPECT_TRUE(std::isfinite(r));
  EXPECT_NEAR(r, std::exp(x), 1e-9 * std::exp(x));
}

TEST(FastExp, NegativeArgumentIsTheInverse) {
  for (double x : {0.001, 0.3, 1.7, 4.2, 12.5}) {
    EXPECT_EQ(FastExp(-x), static_cast<double>(1.0L / static_cast<long double>(FastExp(x)))) << x;
  }
}

TEST(FastExp, StaysCloseToTheExponential) {
  double worst = 0;
  for (double x = -20; x <= 20; x += 0.0137) {
    worst = std::max(worst, std::fabs(FastExp(x) / std::exp(x) - 1));
  }
  EXPECT_LT(worst, 4e-10);
  EXPECT_GT(worst, 1e-11);  // it is an approximation, not std::exp
}

TEST(FastExp, OutOfRangeArgumentsGiveLimits) {
  EXPECT_EQ(FastExp(1e12), HUGE_VAL);
  EXPECT_EQ(FastExp(-1e12), 0.0);
  EXPECT_TRUE(std::isnan(FastExp(std::nan(""))));
}

}  // namespace
}  // namespace orvane
