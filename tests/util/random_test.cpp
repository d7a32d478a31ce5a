#include "util/random.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace orvane {
namespace {

uint32_t SeedAfter(uint32_t seed, int draws) {
  for (int i = 0; i < draws; ++i) seed = seed * 134775813u + 1u;
  return seed;
}

class RandomTest : public ::testing::Test {
 protected:
  void TearDown() override { DisableSeededMode(); }
};

TEST_F(RandomTest, FirstValuesForAFixedSeed) {
  SetRandomSeed(12345);
  // The seed advances first; the result is the high half of seed * n.
  EXPECT_EQ(Random(100), 38);
  EXPECT_EQ(Random(100), 28);
  EXPECT_EQ(Random(5), 0);
  EXPECT_EQ(Random(2), 1);
  EXPECT_EQ(Random(0), 0);  // still advances the seed
  EXPECT_EQ(Random(1000000), 341599);
  EXPECT_EQ(Random(-1), 1889648463);  // n is taken modulo 2^32
  EXPECT_EQ(RandomSeed(), 1889648464u);
}

TEST_F(RandomTest, SeedStepIsTheLinearCongruence) {
  SetRandomSeed(0);
  Random(7);
  EXPECT_EQ(RandomSeed(), 1u);
  Random(7);
  EXPECT_EQ(RandomSeed(), 134775814u);
}

TEST_F(RandomTest, ResultsStayInRange) {
  SetRandomSeed(99);
  for (int i = 0; i < 10000; ++i) {
    const int32_t r = Random(37);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 37);
  }
}

TEST_F(RandomTest, LargeRangeReadsAsSignedWord) {
  // With n = -1 (2^32 - 1) the result is (seed * (2^32 - 1)) >> 32 = seed - 1, read as
  // a signed word: negative once the new seed passes 2^31.
  const uint32_t start = 0x20000000u;
  const uint32_t next = start * 134775813u + 1u;
  ASSERT_GT(next, 0x80000000u);
  SetRandomSeed(start);
  EXPECT_EQ(Random(-1), static_cast<int32_t>(next - 1u));
  EXPECT_LT(static_cast<int32_t>(next - 1u), 0);
}

TEST_F(RandomTest, SeededModeSkipsClockReseeds) {
  EnableSeededMode(7);
  EXPECT_TRUE(SeededModeEnabled());
  ReseedFromClock();
  EXPECT_EQ(RandomSeed(), 7u);
  Random(10);
  const uint32_t after = RandomSeed();
  ReseedFromClock();
  EXPECT_EQ(RandomSeed(), after);
  DisableSeededMode();
  SetRandomSeed(7);
  for (int i = 0; i < 1000 && RandomSeed() == 7u; ++i) ReseedFromClock();
  EXPECT_NE(RandomSeed(), 7u);
}

TEST_F(RandomTest, TwoThreadsLoseNoStep) {
  SetRandomSeed(1);
  constexpr int kCalls = 200000;
  auto work = [] {
    for (int i = 0; i < kCalls; ++i) Random(1000);
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  uint32_t expected = 1;
  for (int i = 0; i < 2 * kCalls; ++i) expected = expected * 134775813u + 1u;
  EXPECT_EQ(RandomSeed(), expected);
}

TEST_F(RandomTest, ThreadScopeDrawsItsOwnSequenceWhileOtherThreadsDraw) {
  SetRandomSeed(12345);
  std::vector<int32_t> alone;
  for (int i = 0; i < 5; ++i) alone.push_back(Random(100));

  SetRandomSeed(500);
  std::vector<int32_t> scoped;
  uint32_t after = 0;
  std::thread other([] {
    for (int i = 0; i < 100000; ++i) Random(1000);
  });
  {
    ThreadRandomScope scope(12345);
    ReseedFromClock();  // skipped inside a scope
    for (int i = 0; i < 5; ++i) scoped.push_back(Random(100));
    after = RandomSeed();
    {
      ThreadRandomScope inner(1);
      Random(7);
      EXPECT_EQ(RandomSeed(), 134775814u);
    }
    EXPECT_EQ(RandomSeed(), after);  // the outer scope resumes where it was
  }
  other.join();
  EXPECT_EQ(scoped, alone);
  // The process-wide generator took only the other thread's draws.
  EXPECT_EQ(RandomSeed(), SeedAfter(500, 100000));
}

}  // namespace
}  // namespace orvane
