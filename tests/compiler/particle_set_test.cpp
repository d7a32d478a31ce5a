#include "compiler/particle_set.h"

#include <gtest/gtest.h>

#include <cmath>

#include "compile_rig.h"
#include "util/random.h"

namespace orvane {
namespace {

using testing::CompileRig;
using testing::HandPart;
using testing::HandStar;

constexpr int32_t kCounter = 99;  // a device without stars: each spawn of it is one more set

class ParticleSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnableSeededMode(11);
    rig.Add(HandPart(kCounter, 2, 5, {}));
  }
  void TearDown() override { DisableSeededMode(); }

  void Steps(CSet& set, int n) {
    for (int i = 0; i < n; ++i) StepSet(rig.Context, set);
  }
  // The set spawned k-th (after the ones placed by the test).
  const CSet& Spawned(size_t k) { return rig.Sets[placed + k]; }

  CompileRig rig;
  size_t placed = 1;
};

TEST_F(ParticleSetTest, DisplacementFollowsDragAndGravity) {
  // StarResistance 10, StarWeight 10. An explosive star's chained set inherits the move
  // (dx, dy, dz) of the frame in which it fires, before Scale.
  auto part = HandPart(1, 2, 200, {{0.06f, 0, 0, 150, 0}, {0.06f, 0, 0, 150, 100}, {0, 0.06f, 0, 150, 0}});
  part->Resistance = static_cast<float>(10 / 5000.0);
  part->Gravity = static_cast<float>(-10 / 50000.0);
  part->NextParExists = 1;
  part->NextParCode = kCounter;
  rig.Add(part);
  rig.Scale = 2.0f;  // must not enter the inherited move
  CSet& set = rig.Place(1);
  Steps(set, 1);
  ASSERT_EQ(rig.Sets.Count(), 3u);
  // The star itself moved by d x Scale.
  EXPECT_EQ(set.Stars[2].PosY, Spawned(1).BaseVelY * 2.0f);
  Steps(set, 100);
  ASSERT_EQ(rig.Sets.Count(), 4u);
  EXPECT_NEAR(Spawned(0).BaseVelX, 0.060060, 5e-7);
  EXPECT_NEAR(Spawned(0).BaseVelY, 0.000100, 5e-7);
  EXPECT_NEAR(Spawned(1).BaseVelY, 0.060160, 5e-7);
  EXPECT_NEAR(Spawned(2).BaseVelX, 0.049173, 5e-7);  // age 100
  EXPECT_NEAR(Spawned(2).BaseVelY, -0.018045, 5e-7);
  EXPECT_EQ(Spawned(2).BaseVelZ, 0.0f);
}

TEST_F(ParticleSetTest, ExplosiveSetReleasesAllAndEndsAfterTheLastMove) {
  rig.Add(HandPart(1, 2, 10, {{0, 0.01f, 0, 5}, {0.01f, 0, 0, 5}, {0, 0, 0.01f, 5}}));
  CSet& set = rig.Place(1);
  float lastY = set.Stars[0].PosY;
  int moves = 0;
  for (int step = 1; step <= 10; ++step) {
    StepSet(rig.Context, set);
    if (step == 1) {
      EXPECT_EQ(set.Emitted, 3);
    }
    if (set.Stars[0].PosY != lastY) ++moves;
    lastY = set.Stars[0].PosY;
    EXPECT_EQ(set.Dead, step >= 5 ? 3 : 0) << step;
    EXPECT_EQ(set.Finished, step == 10) << step;
  }
  EXPECT_EQ(moves, 5);
  EXPECT_FALSE(set.Ready);
  EXPECT_EQ(set.Frame, 9u);
  EXPECT_EQ(set.Stars[0].Age, 4u);
  StepSet(rig.Context, set);  // a finished set does nothing
  EXPECT_EQ(set.Stars[0].PosY, lastY);
}

TEST_F(ParticleSetTest, ProgressiveReleaseRates) {
  // 2 stars over 5 frames: 0.4 a frame, one star every third frame.
  rig.Add(HandPart(1, 1, 50, {{0, 0, 0, 5}, {0, 0, 0, 5}}));
  CSet& slow = rig.Place(1);
  std::vector<int> emitted;
  for (int i = 0; i < 6; ++i) {
    StepSet(rig.Context, slow);
    emitted.push_back(slow.Emitted);
  }
  EXPECT_EQ(emitted, (std::vector<int>{0, 0, 1, 1, 1, 2}));

  // 5 stars over 2 frames: 2.5 a frame, two stars every frame, the fraction dropped.
  rig.Add(HandPart(2, 1, 50, {{0, 0, 0, 2}, {0, 0, 0, 2}, {0, 0, 0, 2}, {0, 0, 0, 2}, {0, 0, 0, 2}}));
  CSet& fast = rig.Place(2);
  emitted.clear();
  for (int i = 0; i < 4; ++i) {
    StepSet(rig.Context, fast);
    emitted.push_back(fast.Emitted);
  }
  EXPECT_EQ(emitted, (std::vector<int>{2, 4, 5, 5}));
}

TEST_F(ParticleSetTest, ProgressiveStarIsRelaunchedAndChainsAgain) {
  // Rate 3 / 3: one star a frame. Star 0 lives 3 frames and chains on its first move.
  auto part = HandPart(1, 1, 20, {{0, 0.02f, 0, 3, 0}, {0, 0, 0, 1, 1000}, {0, 0, 0, 1, 1000}});
  part->NextParExists = 1;
  part->NextParCode = kCounter;
  rig.Add(part);
  CSet& set = rig.Place(1, 1, 2, 3);
  Steps(set, 1);
  EXPECT_EQ(rig.Sets.Count(), 2u);
  Steps(set, 2);
  const TBasePartics& star = set.Stars[0];
  EXPECT_TRUE(star.Alive);
  EXPECT_EQ(star.Age, 0u);
  EXPECT_EQ(star.PosY, 2.0f);  // back at the emitter
  EXPECT_EQ(star.LifeFrames, 3u);
  Steps(set, 1);
  EXPECT_EQ(rig.Sets.Count(), 3u);
  EXPECT_GT(star.PosY, 2.0f);
}

TEST_F(ParticleSetTest, ReleaseSubtractsTheScaledStepAndRelaunchThePlainOne) {
  rig.Add(HandPart(1, 1, 50, {{0.03f, 0.04f, 0, 2}, {0.03f, 0.04f, 0, 2}}));
  rig.Scale = 2.0f;
  SnapshotDevice& device = *rig.Snapshot.Find(1);
  CSet& set = rig.Sets.Append(std::make_unique<CSet>(device, 0, 0, 0, 0.01f, 0.02f, 0.0f, 0.002f, -0.0002f));
  Steps(set, 1);
  ASSERT_NE(set.EmitStepX, 0.0f);
  const float stepX = set.EmitStepX;
  const float stepY = set.EmitStepY;
  Steps(set, 1);  // releases star 1 and relaunches star 0
  const TBasePartics& released = set.Stars[1];
  const TBasePartics& relaunched = set.Stars[0];
  EXPECT_EQ(released.VelX, released.Vel0X - stepX * 2.0f - set.BaseVelX);
  EXPECT_EQ(released.VelY, released.Vel0Y - stepY * 2.0f - set.BaseVelY);
  EXPECT_EQ(relaunched.VelX, relaunched.Vel0X - stepX - set.BaseVelX);
  EXPECT_EQ(relaunched.VelY, relaunched.Vel0Y - stepY - set.BaseVelY);
  EXPECT_NE(released.VelX, relaunched.VelX);
}

TEST_F(ParticleSetTest, RootEmitterNeverMoves) {
  rig.Add(HandPart(1, 1, 30, {{0.01f, 0.01f, 0, 4}}));
  CSet& set = rig.Place(1, 0.5f, -2, 0.25f);
  Steps(set, 20);
  EXPECT_EQ(set.EmitX, 0.5f);
  EXPECT_EQ(set.EmitY, -2.0f);
  EXPECT_EQ(set.EmitZ, 0.25f);
}

// Steps at which the whole-effect chain and the per-star chains fire, for prepared devices.
TEST_F(ParticleSetTest, ChainsStartAtTheirStartPercent) {
  for (int start : {0, 100}) {
    TBaseDevice d = testing::FormDevice(1);
    d.StarQuantity = 10;
    d.BestX = 1.5f;
    d.NextEffExists = true;
    d.NextEffCode = kCounter;
    d.NextEffStart = start;
    d.NextParExists = true;
    d.NextParCode = kCounter;
    d.NextParStart = start;
    CompileRig local;
    local.Add(HandPart(kCounter, 2, 5, {}));
    local.Add(testing::Prepared(d));
    CSet& set = local.Place(1, 1.5f);
    std::vector<int> lifeCount(60, 0);
    for (const TBasePartics& s : set.Stars) ++lifeCount[s.LifeFrames];
    size_t seen = 1;
    int wholeEffectStep = -1;
    for (int step = 1; step <= 50; ++step) {
      StepSet(local.Context, set);
      const size_t spawned = local.Sets.Count() - seen;
      seen = local.Sets.Count();
      const int perStar = start == 0 ? (step == 1 ? 10 : 0) : lifeCount[step];
      const bool effect = static_cast<int>(spawned) == perStar + 1;
      if (effect) {
        EXPECT_EQ(wholeEffectStep, -1) << "the whole-effect chain starts once";
        wholeEffectStep = step;
        EXPECT_EQ(local.Sets[seen - 1].OriginX, 1.5f);
      } else {
        EXPECT_EQ(static_cast<int>(spawned), perStar) << "start " << start << ", step " << step;
      }
    }
    EXPECT_EQ(wholeEffectStep, start == 0 ? 1 : 50);  // frame round(49 x 1.0)
  }
}

TEST_F(ParticleSetTest, ZeroResistanceDoesNotTrap) {
  rig.Add(HandPart(1, 2, 10, {{0.05f, 0.05f, 0, 5}}, 0.0f, -0.0002f));
  CSet& set = rig.Place(1);
  Steps(set, 10);
  EXPECT_TRUE(set.Finished);
  EXPECT_FALSE(std::isfinite(set.Stars[0].PosX));
}

TEST_F(ParticleSetTest, RemoveSetKeepsTheOrder) {
  rig.Add(HandPart(1, 2, 3, {{0, 0, 0, 1}}));
  CSet& a = rig.Place(1);
  CSet& b = rig.Place(1);
  CSet& c = rig.Place(1);
  EXPECT_TRUE(RemoveSet(rig.Context, &b));
  EXPECT_FALSE(RemoveSet(rig.Context, &b));
  ASSERT_EQ(rig.Sets.Count(), 2u);
  EXPECT_EQ(&rig.Sets[0], &a);
  EXPECT_EQ(&rig.Sets[1], &c);
  c.Finished = true;
  rig.Sets.RemoveFinished();
  ASSERT_EQ(rig.Sets.Count(), 1u);
  EXPECT_EQ(&rig.Sets[0], &a);
  EXPECT_EQ(rig.Sets.HeldParticles(), 2u);  // one star and the set
}

}  // namespace
}  // namespace orvane
