#include "assets/vectors.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace orvane {
namespace {

TEST(Vectors, CrossProductFollowsTheRightHand) {
  const TVector3 z = VectorCross({1, 0, 0}, {0, 1, 0});
  EXPECT_EQ(z.x, 0.0f);
  EXPECT_EQ(z.y, 0.0f);
  EXPECT_EQ(z.z, 1.0f);
  const TVector3 c = VectorCross({1, 2, 3}, {4, 5, 6});
  EXPECT_EQ(c.x, -3.0f);
  EXPECT_EQ(c.y, 6.0f);
  EXPECT_EQ(c.z, -3.0f);
}

TEST(Vectors, NormaliseLeavesTheZeroVectorAlone) {
  TVector3 v{3, 0, 4};
  EXPECT_EQ(VectorNormalize(v), 5.0f);
  EXPECT_FLOAT_EQ(v.x, 0.6f);
  EXPECT_FLOAT_EQ(v.z, 0.8f);
  TVector3 zero{};
  EXPECT_EQ(VectorNormalize(zero), 0.0f);
  EXPECT_EQ(zero.x, 0.0f);
  TVector3 nan = VectorDivide({0, 0, 0}, -0.0f);
  VectorNormalize(nan);
  EXPECT_TRUE(std::isnan(nan.x));
}

TEST(Vectors, PackedColourBytesBecomeFloatsNearestOver255) {
  EXPECT_EQ(std::bit_cast<uint32_t>(kByteToUnit), 0x3B808081u);
  const auto c = ColorToFloats(0x00FF8000u);
  EXPECT_EQ(c[0], 0.0f);
  EXPECT_EQ(c[1], 128 * kByteToUnit);
  EXPECT_EQ(c[2], 255 * kByteToUnit);
  EXPECT_EQ(c[3], 1.0f);
}

}  // namespace
}  // namespace orvane
