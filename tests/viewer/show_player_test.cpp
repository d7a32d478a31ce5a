// Playback: buffering, frame hand-over, pause, end of show and damaged files.

#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <thread>

#include "playback_rig.h"

namespace orvane::testing {
namespace {

std::vector<int> Range(int from, int to) {
  std::vector<int> v(static_cast<size_t>(to - from));
  std::iota(v.begin(), v.end(), from);
  return v;
}

TEST(ShowPlayer, BuffersFiveBlocksBeforePlaying) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({8 * 25}));
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
  EXPECT_TRUE(rig.player.PumpRunning());
  EXPECT_EQ(rig.timers.LastPeriod(), 20);
  for (int pumps = 0; pumps < 50; ++pumps) {
    EXPECT_LE(rig.player.QueuedBlocks(), 5u);
    rig.Pump();
    if (rig.player.Playing()) break;
    rig.Render();
  }
  ASSERT_TRUE(rig.player.Playing());
  // The first block went to the player at once; five more wait in the queue.
  EXPECT_EQ(rig.player.QueuedBlocks(), 5u);
  EXPECT_TRUE(rig.drawn.empty()) << "nothing is drawn while buffering";
  ASSERT_TRUE(rig.PlayToEnd(400));
  EXPECT_EQ(rig.drawn, Range(0, 200)) << "every frame once, in order";
  EXPECT_EQ(rig.listener.progress.back(), 100);
  EXPECT_EQ(rig.listener.progress.size(), 8u) << "one progress report per block";
}

TEST(ShowPlayer, ReadAheadStopsAtItsByteBudget) {
  constexpr uint64_t kBudget = 1000;
  struct Case {
    size_t queued;
    uint64_t queuedBytes, inPlayBytes;
    bool room;
  };
  const std::vector<Case> cases = {
      {0, 0, 0, true},     {0, 0, 5000, false},  // a huge block in play: read when it is used up
      {0, 0, 999, true},   {1, 600, 300, true}, {1, 600, 400, false},
      {4, 100, 100, true}, {5, 0, 0, false},    {1, 5000, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadAheadRoom(c.queued, c.queuedBytes, c.inPlayBytes, kBudget), c.room)
        << c.queued << " " << c.queuedBytes << " " << c.inPlayBytes;
  }
}

// Blocks larger than the budget: one is held at a time, the next read when its last frame
// has been taken, and the show still plays every frame in order.
TEST(ShowPlayer, HugeBlocksAreHeldOneAtATime) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({6 * 25}));
  rig.player.SetReadAheadBytes(1);
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
  size_t mostQueued = 0;
  for (int ticks = 0; ticks < 2000 && rig.player.Active(); ++ticks) {
    for (int pump = 0; pump < 2; ++pump) {
      rig.Pump();
      mostQueued = std::max(mostQueued, rig.player.QueuedBlocks());
    }
    rig.Render();
  }
  EXPECT_FALSE(rig.player.Active()) << "the show ended";
  EXPECT_EQ(mostQueued, 1u) << "one block waits at most, and only while none is in play";
  EXPECT_EQ(rig.drawn, Range(0, 150)) << "every frame once, in order";
}

TEST(ShowPlayer, ShortShowPlaysAsSoonAsItsLastBlockIsRead) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({30}));  // a full block and a closing block of five frames
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
  rig.Pump();
  EXPECT_FALSE(rig.player.Playing());
  rig.Pump();
  EXPECT_TRUE(rig.player.Playing()) << "the end of file starts playing with fewer than five blocks";
  EXPECT_FALSE(rig.listener.credits);
  rig.Pump();
  EXPECT_TRUE(rig.listener.credits) << "credits appear at the pump after the loader reached the end";
  ASSERT_TRUE(rig.PlayToEnd(100));
  EXPECT_EQ(rig.drawn, Range(0, 30));
}

TEST(ShowPlayer, EmptyFramesPassWhileBuffering) {
  PlaybackRig rig;
  TestShow show{10 * 25};
  show.particles_in = [](int f) { return f < 3 ? 0 : 2; };
  rig.WriteShow(BuildShow(show));
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
  int renders = 0;
  for (;;) {
    rig.Pump();
    if (rig.player.Playing()) break;
    rig.Render();
    ASSERT_LT(++renders, 100);
  }
  EXPECT_GE(renders, 4) << "enough renders to pass the three empty frames";
  // The first frame with particles already waits: the first render while playing draws it.
  rig.Render();
  EXPECT_EQ(rig.drawn, std::vector<int>{3});
}

TEST(ShowPlayer, EmptyFramesAheadOfTheFirstParticlesAreSkippedAtOnePerTick) {
  PlaybackRig rig;
  TestShow show{40};
  show.particles_in = [](int f) { return f % 10 == 9 ? 1 : 0; };
  rig.WriteShow(BuildShow(show));
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
  ASSERT_TRUE(rig.PlayToEnd(200));
  EXPECT_EQ(rig.drawn, (std::vector<int>{9, 19, 29, 39}));
}

TEST(ShowPlayer, PauseHoldsTheLastFrameAndDelaysTheEnd) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({20}));
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
  while (rig.drawn.size() < 5) rig.Tick();
  rig.player.SetPaused(true);
  for (int i = 0; i < 3; ++i) rig.Tick();
  // Frame 5 was already taken when the pause came: it stays on the screen.
  EXPECT_EQ(rig.drawn, (std::vector<int>{0, 1, 2, 3, 4, 5, 5, 5}));
  rig.player.SetPaused(false);
  while (rig.drawn.back() < 19) rig.Tick();
  rig.player.SetPaused(true);  // on the show's last frame
  for (int i = 0; i < 30; ++i) rig.Tick();
  EXPECT_TRUE(rig.player.Active()) << "never ends while paused";
  EXPECT_EQ(rig.drawn.back(), 19);
  rig.player.SetPaused(false);
  EXPECT_TRUE(rig.PlayToEnd(5));
}

TEST(ShowPlayer, EndOfShowIsReportedOnceAfterTheTeardown) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({3}));
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
  ASSERT_TRUE(rig.PlayToEnd(20));
  EXPECT_FALSE(rig.player.Playing());
  EXPECT_FALSE(rig.player.PumpRunning());
  EXPECT_FALSE(rig.timers.Running());
  EXPECT_EQ(rig.player.FrameData(), nullptr);
  EXPECT_EQ(rig.listener.ended, 1);
  EXPECT_FALSE(rig.listener.credits) << "credits fade out at the end";
  EXPECT_EQ(rig.listener.credits_shown, 1);
  EXPECT_TRUE(rig.listener.damage_reports.empty());
  // Late pump messages after the end change nothing.
  rig.player.PumpMessage();
  rig.player.AdvanceFrame();
  EXPECT_EQ(rig.listener.ended, 1);
}

TEST(ShowPlayer, TruncatedFileStopsAfterTheLastWholeFrameWithAMessage) {
  const std::vector<uint8_t> whole = BuildShow({3 * 25 + 10});
  // One record a frame: frames take 18 bytes, full blocks 462 and the closing block of ten
  // frames 192. A cut of 1 byte spoils the last frame, 50 bytes the last three, and 400
  // bytes leave 13 whole frames of the third block.
  const std::pair<size_t, int> cuts[] = {{1, 84}, {50, 82}, {400, 63}};
  for (const auto& [cut, whole_frames] : cuts) {
    PlaybackRig rig;
    rig.WriteShow(std::vector<uint8_t>(whole.begin(), whole.end() - static_cast<std::ptrdiff_t>(cut)));
    ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
    ASSERT_TRUE(rig.PlayToEnd(300)) << "a damaged file must not hang playback";
    EXPECT_EQ(rig.drawn, Range(0, whole_frames)) << cut;
    ASSERT_EQ(rig.listener.damage_reports.size(), 1u);
    EXPECT_NE(rig.listener.damage_reports[0].find("damaged"), std::string::npos);
    EXPECT_EQ(rig.listener.ended, 1);
  }
}

TEST(ShowPlayer, DamagedFirstBlockEndsAtOnce) {
  PlaybackRig rig;
  std::vector<uint8_t> bytes = BuildShow({10});
  bytes[4] = 0x7F;  // last frame index far beyond its frames
  rig.WriteShow(bytes);
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
  ASSERT_TRUE(rig.PlayToEnd(20));
  EXPECT_TRUE(rig.drawn.empty());
  EXPECT_EQ(rig.listener.damage_reports.size(), 1u);
}

TEST(ShowPlayer, MissingFileFailsWithItsNameAndStartsNothing) {
  PlaybackRig rig;
  const Result<> started = rig.player.StartPlayback(rig.ShowPath());
  ASSERT_FALSE(started);
  EXPECT_NE(started.Message().find("ovcompile.dat"), std::string::npos) << started.Message();
  EXPECT_FALSE(rig.player.Active());
  EXPECT_FALSE(rig.timers.Running());
  EXPECT_FALSE(rig.player.PumpRunning());
  // The failure is the caller's to report: no show started, so none ends.
  EXPECT_EQ(rig.listener.ended, 0);
}

TEST(ShowPlayer, ANewShowAfterTheEndStartsAfresh) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({12}));
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
  ASSERT_TRUE(rig.PlayToEnd(50));
  rig.drawn.clear();
  rig.WriteShow(BuildShow({27}));
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath()));
  ASSERT_TRUE(rig.PlayToEnd(80));
  EXPECT_EQ(rig.drawn, Range(0, 27));
}

TEST(ShowPlayer, DestroyingThePlayerMidShowWaitsForTheLoader) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({300}));
  auto player = std::make_unique<ShowPlayer>(rig.poster, rig.timers, rig.listener);
  ASSERT_TRUE(player->StartPlayback(rig.ShowPath()));
  rig.timers.Tick();
  rig.poster.RunPending();  // starts a loader
  EXPECT_TRUE(player->LoaderRunning());
  ASSERT_TRUE(rig.poster.WaitQueued(2, std::chrono::seconds(60)));
  player.reset();  // the loader's progress and completion are queued and refer to it
  EXPECT_FALSE(rig.timers.Running());
  EXPECT_EQ(rig.poster.RunPending(), 2u);
  EXPECT_TRUE(rig.listener.progress.empty()) << "tasks of a destroyed player do nothing";
}

}  // namespace
}  // namespace orvane::testing

namespace orvane::testing {
namespace {

TEST(ShowPlayerSeek, StartsAtTheAskedFramePassingWholeBlocksAndNeverDrawsAnEarlierFrame) {
  for (uint32_t first : {0u, 24u, 25u, 137u, 199u}) {
    SCOPED_TRACE(first);
    PlaybackRig rig;
    rig.WriteShow(BuildShow({8 * 25}));
    ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath(), first));
    ASSERT_TRUE(rig.PlayToEnd(400));
    EXPECT_EQ(rig.drawn, Range(static_cast<int>(first), 200));
    // Blocks passed over are read but never queued: one progress report per loader run.
    EXPECT_EQ(rig.listener.progress.back(), 100);
  }
}

TEST(ShowPlayerSeek, CountsFramesFromTheShowsStart) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({8 * 25}));
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath(), 60));
  for (int i = 0; i < 200 && rig.drawn.empty(); ++i) rig.Tick();
  ASSERT_FALSE(rig.drawn.empty());
  EXPECT_EQ(rig.drawn.front(), 60);
  // The frame taken after the one drawn.
  EXPECT_EQ(rig.player.CurrentFrame(), rig.drawn.back() + 1);
}

TEST(ShowPlayerSeek, BeyondTheEndPlaysTheLastFrameAndStopEndsAShowAtOnce) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({60}));  // two full blocks and a closing one of ten frames
  ASSERT_TRUE(rig.player.StartPlayback(rig.ShowPath(), 5000));
  ASSERT_TRUE(rig.PlayToEnd(100));
  EXPECT_EQ(rig.drawn, std::vector<int>{59});

  PlaybackRig stopped;
  stopped.WriteShow(BuildShow({8 * 25}));
  ASSERT_TRUE(stopped.player.StartPlayback(stopped.ShowPath()));
  for (int i = 0; i < 20; ++i) stopped.Tick();
  stopped.player.StopPlayback();
  EXPECT_FALSE(stopped.player.Active());
  EXPECT_FALSE(stopped.player.Playing());
  EXPECT_EQ(stopped.listener.ended, 1);
  stopped.player.StopPlayback();  // nothing left to stop
  EXPECT_EQ(stopped.listener.ended, 1);
}

}  // namespace
}  // namespace orvane::testing
