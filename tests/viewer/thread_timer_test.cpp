// The pump's periodic timer on its own thread, and the queued poster that carries its ticks.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "viewer/queued_poster.h"
#include "viewer/thread_timer.h"

namespace orvane {
namespace {

TEST(ThreadTimer, TicksOnItsOwnThreadUntilDestroyed) {
  ThreadTimerService service;
  QueuedPoster poster;
  std::atomic<int> ticks{0};
  const auto main_thread = std::this_thread::get_id();
  std::atomic<bool> other_thread{true};
  auto timer = service.Start(2, 1, [&] {
    other_thread = other_thread && std::this_thread::get_id() != main_thread;
    poster.Post([&ticks] { ++ticks; });
  });
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(poster.RunUntil([&] { return ticks >= 3; }, std::chrono::seconds(10)));
  timer.reset();  // joins the timer's thread: nothing can be posted after this
  poster.RunPending();
  const int after_stop = ticks;
  EXPECT_EQ(poster.RunPending(), 0u) << "no tick after the timer is gone";
  EXPECT_EQ(ticks, after_stop);
  EXPECT_TRUE(other_thread);
  EXPECT_EQ(service.Start(0, 1, [] {}), nullptr);
  EXPECT_GE(QueryTimerResolution(), 1);
}

}  // namespace
}  // namespace orvane
