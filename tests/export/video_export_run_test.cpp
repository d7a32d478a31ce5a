// The show window's export child: its words, its progress lines as they arrive in pieces,
// and what each way of ending means for the person waiting.

#include "export/video_export_run.h"

#include <gtest/gtest.h>

namespace orvane::testing {
namespace {

TEST(VideoExportRun, ProgressLinesReadBackAndOthersAreNotProgress) {
  EXPECT_EQ(ReadFrameProgressLine(FrameProgressLine(250, 1500)), (FrameProgress{250, 1500}));
  EXPECT_EQ(ReadFrameProgressLine("frame 0/1"), (FrameProgress{0, 1}));
  for (const char* line : {"frame 3/0", "frame 4/3", "frame -1/3", "frame 1/", "frame /3", "frame 1/3x", "frame 1 / 3",
                           "frame 99999999999999999999/1", "Frame 1/3", "orvane-cli: frame 1/3", ""}) {
    EXPECT_FALSE(ReadFrameProgressLine(line)) << line;
  }
}

TEST(VideoExportRun, SizesOfferThePanelMadeEvenThenTheStandardOnes) {
  EXPECT_EQ(VideoExportSizes(801, 601), (std::vector<VideoSize>{{800, 600}, {1280, 720}, {1920, 1080}}));
  EXPECT_EQ(VideoExportSizes(1280, 720), (std::vector<VideoSize>{{1280, 720}, {1920, 1080}}));
  EXPECT_EQ(VideoExportSizes(1, 0).front(), (VideoSize{2, 2})) << "a collapsed panel still gives a valid size";
}

TEST(VideoExportRun, ArgumentsAskForProgressLinesAndTheSeed) {
  VideoExportRequest request{"/shows/a b", "/out/v.mp4", {640, 360}, std::nullopt};
  EXPECT_EQ(VideoExportArguments(request),
            (std::vector<std::string>{"video", "--show", "/shows/a b", "-o", "/out/v.mp4", "--size", "640x360",
                                      "--progress-lines"}));
  request.Seed = 7;
  const auto words = VideoExportArguments(request);
  ASSERT_EQ(words.size(), 10u);
  EXPECT_EQ(words[8], "--seed");
  EXPECT_EQ(words[9], "7");
}

TEST(VideoExportRun, ProgressFollowsLinesSplitAnywhere) {
  VideoExportRun run;
  EXPECT_EQ(run.Percent(), 0);
  run.TakeErrorOutput("fra");
  EXPECT_FALSE(run.Progress()) << "half a line is not read yet";
  run.TakeErrorOutput("me 1/4\nframe 2");
  EXPECT_EQ(run.Progress(), (FrameProgress{1, 4}));
  EXPECT_EQ(run.Percent(), 25);
  run.TakeErrorOutput("/4\r\nframe 4/4\n");
  EXPECT_EQ(run.Percent(), 100);
  EXPECT_EQ(run.Finish(0, false).End, VideoExportEnd::kDone);
}

TEST(VideoExportRun, EndsAreToldApart) {
  VideoExportRun failed;
  failed.TakeErrorOutput("frame 1/9\norvane-cli: cannot use the music file m.ogg: it holds no sound\n");
  const VideoExportOutcome outcome = failed.Finish(1, false);
  EXPECT_EQ(outcome.End, VideoExportEnd::kFailed);
  EXPECT_EQ(outcome.Message, "cannot use the music file m.ogg: it holds no sound");

  VideoExportRun silent;
  EXPECT_EQ(silent.Finish(3, false).Message, "orvane-cli ended with status 3");
  EXPECT_EQ(silent.Finish(0, true).End, VideoExportEnd::kFailed) << "a crash is no success";
  EXPECT_EQ(silent.Finish(kCliExitStopped, false).End, VideoExportEnd::kFailed) << "stopped by someone else";

  VideoExportRun cancelled;
  cancelled.RequestCancel();
  EXPECT_EQ(cancelled.Finish(kCliExitStopped, false).End, VideoExportEnd::kCancelled);
  EXPECT_EQ(cancelled.Finish(kCliExitTerminated, false).End, VideoExportEnd::kCancelled) << "the SIGTERM Cancel sends";
  EXPECT_EQ(cancelled.Finish(0, true).End, VideoExportEnd::kCancelled);
  EXPECT_EQ(cancelled.Finish(0, false).End, VideoExportEnd::kDone) << "it finished before the cancel reached it";
  EXPECT_EQ(cancelled.Finish(1, false).End, VideoExportEnd::kFailed);
}

TEST(VideoExportRun, EndlessOutputStaysBounded) {
  VideoExportRun run;
  const std::string longLine(1 << 20, 'x');
  for (int i = 0; i < 100; ++i) run.TakeErrorOutput(longLine + "\n");
  run.TakeErrorOutput("last words\n");
  const std::string message = run.Finish(1, false).Message;
  EXPECT_LT(message.size(), 64u * 1024u);
  EXPECT_TRUE(message.ends_with("\nlast words")) << message.substr(message.size() - 40);
}

}  // namespace
}  // namespace orvane::testing
