#include "ui/queued_compile_listener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <QObject>
#include <QTest>

namespace orvane {
namespace {

// A compile thread's worth of reports as fast as they come: the window gets a handful of
// progress calls, and the completion finds the counter on the final total.
TEST(QueuedCompileListener, CoalescesProgressAndShowsTheLastTotalBeforeCompletion) {
  QObject target;
  int progressCalls = 0;
  int64_t shown = -1;
  int64_t shownAtCompletion = -1;
  bool finished = false;
  QueuedCompileListener listener(
      &target,
      [&](int, int64_t records) {
        EXPECT_FALSE(finished);
        EXPECT_GE(records, shown);
        shown = records;
        ++progressCalls;
      },
      [&](const CompileOutcome&) {
        shownAtCompletion = shown;
        finished = true;
      });

  constexpr int64_t kFrames = 300'000;
  const auto start = std::chrono::steady_clock::now();
  std::thread compile([&] {
    for (int64_t frame = 1; frame <= kFrames; ++frame)
      listener.CompileProgress(static_cast<int>(frame % 25) * 4, frame);
    CompileOutcome outcome;
    outcome.Records = kFrames;
    listener.CompileFinished(outcome);
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 60000));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  compile.join();
  EXPECT_EQ(shownAtCompletion, kFrames);
  // One call per started interval at most, plus the last values at the end.
  const auto intervals = elapsed / ProgressCoalescer::kInterval;
  EXPECT_LE(progressCalls, intervals + 2);
  EXPECT_GE(progressCalls, 1);
}

}  // namespace
}  // namespace orvane
