// A device file may hold any byte as a star or speed kind. Such a byte is kept as read,
// and the simulation only tests for the named kinds.

#include <gtest/gtest.h>

#include "compile_rig.h"
#include "util/random.h"

namespace orvane {
namespace {

using testing::CompileRig;
using testing::HandPart;
using testing::HandStar;

class DeviceKindsTest : public ::testing::Test {
 protected:
  void TearDown() override { DisableSeededMode(); }
};

std::vector<uint8_t> CompiledWithStarKind(uint8_t kind) {
  EnableSeededMode(11);
  CompileRig rig;
  rig.Add(HandPart(1, kind, 40, {{0.01f, 0.02f, 0, 12}, {0, 0.03f, 0.01f, 7}, {0.02f, 0, 0, 20}}));
  CompileOutcome outcome;
  std::vector<uint8_t> bytes = rig.Compile(1, &outcome);
  EXPECT_EQ(outcome.State, CompileOutcome::Status::kComplete);
  return bytes;
}

// Released at once like explosive stars, relaunched like progressive ones: unlike both.
TEST_F(DeviceKindsTest, AnyOtherStarKindSimulatesLikeNone) {
  const std::vector<uint8_t> none = CompiledWithStarKind(StoredByte(StarKind::None));
  ASSERT_FALSE(none.empty());
  EXPECT_NE(CompiledWithStarKind(StoredByte(StarKind::Progressive)), none);
  EXPECT_NE(CompiledWithStarKind(StoredByte(StarKind::Explosive)), none);
  EXPECT_EQ(CompiledWithStarKind(9), none);
  EXPECT_EQ(CompiledWithStarKind(255), none);
}

std::shared_ptr<const TCompDevice> PreparedWithSpeedKind(SpeedKind kind) {
  EnableSeededMode(5);
  TBaseDevice d = testing::FormDevice(1);
  d.StarQuantity = 60;
  d.SpeedKind = kind;
  return testing::Prepared(d);
}

void ExpectSameLaunches(const TCompDevice& a, const TCompDevice& b) {
  ASSERT_EQ(a.Stars.size(), b.Stars.size());
  for (size_t i = 0; i < a.Stars.size(); ++i) {
    EXPECT_EQ(a.Stars[i].VelX, b.Stars[i].VelX) << "star " << i;
    EXPECT_EQ(a.Stars[i].VelY, b.Stars[i].VelY) << "star " << i;
    EXPECT_EQ(a.Stars[i].VelZ, b.Stars[i].VelZ) << "star " << i;
    EXPECT_EQ(a.Stars[i].LifeFrames, b.Stars[i].LifeFrames) << "star " << i;
  }
}

TEST_F(DeviceKindsTest, AnySpeedKindButRandomGivesHomogeneousSpeeds) {
  const auto homogeneous = PreparedWithSpeedKind(SpeedKind::Homogeneous);
  const auto random = PreparedWithSpeedKind(SpeedKind::Random);
  ASSERT_TRUE(homogeneous && random);
  bool differs = false;
  for (size_t i = 0; i < random->Stars.size(); ++i) differs |= random->Stars[i].VelX != homogeneous->Stars[i].VelX;
  EXPECT_TRUE(differs);
  for (SpeedKind other : {SpeedKind::None, SpeedKind{3}, SpeedKind{200}}) {
    const auto part = PreparedWithSpeedKind(other);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->SpeedKind, other);
    ExpectSameLaunches(*part, *homogeneous);
  }
}

}  // namespace
}  // namespace orvane
