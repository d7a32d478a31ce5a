#include "model/music_sync.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(MusicSync, MusicWithinTheLimitIsLeftAloneAndBeyondItIsSought) {
  // Offset 2 s: at show time 10 s the music belongs at 12 s.
  EXPECT_EQ(DecideMusicSync(10.0, 2.0, 12.0, 60.0, true).Action, MusicAction::Keep);
  EXPECT_EQ(DecideMusicSync(10.0, 2.0, 12.039, 60.0, true).Action, MusicAction::Keep);
  EXPECT_EQ(DecideMusicSync(10.0, 2.0, 11.961, 60.0, true).Action, MusicAction::Keep);
  MusicSyncStep ahead = DecideMusicSync(10.0, 2.0, 12.041, 60.0, true);
  EXPECT_EQ(ahead.Action, MusicAction::Seek);
  EXPECT_DOUBLE_EQ(ahead.TargetSeconds, 12.0);
  MusicSyncStep behind = DecideMusicSync(10.0, 2.0, 11.9, 60.0, true);
  EXPECT_EQ(behind.Action, MusicAction::Seek);
  EXPECT_DOUBLE_EQ(behind.TargetSeconds, 12.0);
}

TEST(MusicSync, StoppedMusicStartsWhereTheShowIs) {
  MusicSyncStep step = DecideMusicSync(3.0, 0.5, 0.0, 60.0, false);
  EXPECT_EQ(step.Action, MusicAction::Seek);
  EXPECT_DOUBLE_EQ(step.TargetSeconds, 3.5);
}

TEST(MusicSync, BeforeTheMusicStartsItWaitsAndAfterItsEndItFinishes) {
  EXPECT_EQ(DecideMusicSync(1.0, -3.0, 0.0, 60.0, false).Action, MusicAction::Wait);
  EXPECT_EQ(DecideMusicSync(3.0, -3.0, 0.0, 60.0, false).Action, MusicAction::Seek);
  EXPECT_EQ(DecideMusicSync(59.0, 1.0, 59.9, 60.0, true).Action, MusicAction::Finish);
  // An unknown length never finishes the music.
  EXPECT_EQ(DecideMusicSync(500.0, 0.0, 500.0, 0.0, true).Action, MusicAction::Keep);
}

}  // namespace
}  // namespace orvane
