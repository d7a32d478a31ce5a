#include "model/progress_coalescer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <thread>

namespace orvane {
namespace {

using Clock = ProgressCoalescer::Clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

const Clock::time_point kStart{};

TEST(ProgressCoalescer, OneDeliveryInFlightAndOneStartPerInterval) {
  ProgressCoalescer c;
  EXPECT_TRUE(c.Offer({4, 10}, kStart));
  EXPECT_FALSE(c.Offer({8, 20}, kStart + milliseconds(1)));
  EXPECT_FALSE(c.Offer({12, 30}, kStart + milliseconds(500)));  // still in flight, however long
  EXPECT_EQ(c.Take(), (ProgressReport{12, 30}));                // the newest, not the posted one
  EXPECT_TRUE(c.Offer({16, 40}, kStart + milliseconds(501)));   // the interval has passed
  EXPECT_EQ(c.Take(), (ProgressReport{16, 40}));
  EXPECT_FALSE(c.Offer({20, 50}, kStart + milliseconds(520)));  // taken, but too soon
  EXPECT_TRUE(c.Offer({24, 60}, kStart + milliseconds(541)));
}

TEST(ProgressCoalescer, FinishShowsWhatCameAfterTheLastDeliveryAndStartsAfresh) {
  ProgressCoalescer c;
  ASSERT_TRUE(c.Offer({4, 10}, kStart));
  EXPECT_EQ(c.Take(), (ProgressReport{4, 10}));
  EXPECT_EQ(c.Finish(), std::nullopt);  // nothing newer than what is shown

  ASSERT_TRUE(c.Offer({4, 11}, kStart + milliseconds(1)));  // a new compile posts at once
  EXPECT_EQ(c.Take(), (ProgressReport{4, 11}));
  EXPECT_FALSE(c.Offer({8, 99}, kStart + milliseconds(2)));
  EXPECT_EQ(c.Finish(), (ProgressReport{8, 99}));
  EXPECT_EQ(c.Finish(), std::nullopt);
  EXPECT_TRUE(c.Offer({0, 1}, kStart + milliseconds(3)));
}

// A million frames in one second of compile, the receiver taking each delivery 5 ms after
// it was posted: about 25 deliveries, each with the newest values, and the final total.
TEST(ProgressCoalescer, AMillionFramesGiveAboutTwentyFiveDeliveriesASecond) {
  ProgressCoalescer c;
  std::deque<Clock::time_point> queued;
  int delivered = 0;
  int64_t shown = -1;
  constexpr int64_t kFrames = 1'000'000;
  for (int64_t frame = 1; frame <= kFrames; ++frame) {
    const Clock::time_point now = kStart + microseconds(frame);
    while (!queued.empty() && now - queued.front() >= milliseconds(5)) {
      queued.pop_front();
      const ProgressReport r = c.Take();
      EXPECT_GT(r.Records, shown);
      shown = r.Records;
      ++delivered;
    }
    if (c.Offer({static_cast<int>(frame % 25) * 4, frame}, now)) queued.push_back(now);
    ASSERT_LE(queued.size(), 1u);
  }
  EXPECT_GE(delivered, 24);
  EXPECT_LE(delivered, 26);
  // The completion comes behind at most the one delivery still queued.
  if (!queued.empty()) {
    EXPECT_EQ(c.Take().Records, kFrames);
  } else {
    EXPECT_EQ(c.Finish(), (ProgressReport{0, kFrames}));
  }
  EXPECT_EQ(c.Finish(), std::nullopt);
}

TEST(ProgressCoalescer, NeverTwoDeliveriesInFlightAcrossThreads) {
  ProgressCoalescer c;
  std::atomic<int> inFlight{0};
  std::atomic<int> most{0};
  std::atomic<bool> done{false};
  std::thread reporter([&] {
    for (int64_t i = 1; i <= 200'000; ++i) {
      if (c.Offer({0, i}, kStart + milliseconds(i))) {
        const int now = inFlight.fetch_add(1) + 1;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
      }
    }
    done = true;
  });
  int64_t last = 0;
  while (!done || inFlight.load() > 0) {
    if (inFlight.load() == 0) {
      std::this_thread::yield();
      continue;
    }
    inFlight.fetch_sub(1);  // before Take: only Take lets the next delivery be posted
    const ProgressReport r = c.Take();
    EXPECT_GE(r.Records, last);
    last = r.Records;
  }
  reporter.join();
  EXPECT_EQ(most.load(), 1);
  EXPECT_GT(last, 0);
  const std::optional<ProgressReport> end = c.Finish();
  EXPECT_EQ(end ? end->Records : last, 200'000);
}

}  // namespace
}  // namespace orvane
