// A show's subtitle script over its video: each entry starts on the frame that shows its
// ignition, as FFmpeg's own probe times the frames.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "app/cli_command.h"
#include "media/video_reader.h"
#include "support/cli_run.h"
#include "support/test_paths.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

// The entries' start and end times in milliseconds.
std::vector<std::pair<int64_t, int64_t>> SubtitleTimes(const std::string& srt) {
  static const std::regex timing(R"((\d\d):(\d\d):(\d\d),(\d\d\d) --> (\d\d):(\d\d):(\d\d),(\d\d\d))");
  std::vector<std::pair<int64_t, int64_t>> times;
  for (std::sregex_iterator it(srt.begin(), srt.end(), timing), end; it != end; ++it) {
    auto ms = [&](int first) {
      return ((std::stoll((*it)[first]) * 60 + std::stoll((*it)[first + 1])) * 60 + std::stoll((*it)[first + 2])) *
                 1000 +
             std::stoll((*it)[first + 3]);
    };
    times.emplace_back(ms(1), ms(5));
  }
  return times;
}

// Each video frame's presentation time in seconds, as ffprobe reads it.
std::vector<double> FrameTimes(const std::string& video) {
  const std::string probe = "ffprobe -v error -select_streams v:0 -show_entries frame=pts_time -of csv=p=0 " + video;
  std::FILE* pipe = popen(probe.c_str(), "r");
  std::vector<double> times;
  if (pipe == nullptr) return times;
  char line[128];
  // Lines other than a time (side data some versions print) are skipped.
  while (std::fgets(line, sizeof line, pipe) != nullptr)
    if (line[0] >= '0' && line[0] <= '9') times.push_back(std::strtod(line, nullptr));
  EXPECT_EQ(pclose(pipe), 0) << "ffprobe (package ffmpeg) runs";
  return times;
}

bool Black(const std::vector<uint8_t>& rgb) {
  // H.264 may leave a grey level or two in black.
  return std::all_of(rgb.begin(), rgb.end(), [](uint8_t v) { return v < 8; });
}

TEST(ScriptVideo, SubtitlesStartOnTheFramesThatShowTheirIgnitions) {
  ScratchDir dir;
  const fs::path show = dir.Path() / "show";
  ASSERT_EQ(Cli({"save", "--preset", "1", "-o", show.string()}).Status, cli::kExitDone);
  // Ignitions off the frame grid: 0.52 s is frame 13, 1.01 s frame 25.
  dir.Write("show/cues.csv", "time,code,x\n0.52,101,-1\n1.01,101,1\n");
  const std::string srt = (dir.Path() / "show.srt").string();
  const CliRun script = Cli({"script", "--show", show.string(), "--profile", "srt", "-o", srt});
  ASSERT_EQ(script.Status, cli::kExitDone) << script.Err;
  const std::string video = (dir.Path() / "show.mp4").string();
  // The classic look on a black background, so that a lit pixel is a burning star.
  const CliRun r = Cli({"video", "--show", show.string(), "--seed", "3", "-o", video, "--size", "96x64", "--look",
                        "classic", "--scenery", "none"});
  ASSERT_EQ(r.Status, cli::kExitDone) << r.Err;

  const auto entries = SubtitleTimes(ReadFileBytes(srt));
  ASSERT_EQ(entries.size(), 2u);
  using Entry = std::pair<int64_t, int64_t>;
  EXPECT_EQ(entries[0], Entry(520, 1520));
  EXPECT_EQ(entries[1], Entry(1010, 2010));
  const std::vector<double> frames = FrameTimes(video);
  const auto read_facts = ReadVideoFacts(video);
  ASSERT_TRUE(read_facts) << read_facts.Message();
  const VideoFileFacts& facts = read_facts.Value();
  ASSERT_TRUE(facts.Video);
  ASSERT_EQ(static_cast<int64_t>(frames.size()), facts.Video->Packets);
  for (const auto& [start, end] : entries) {
    // The frame on screen at the entry's start is the one whose show time holds the ignition.
    const auto shown = std::upper_bound(frames.begin(), frames.end(), start / 1000.0 + 1e-9) - frames.begin() - 1;
    ASSERT_GE(shown, 0);
    EXPECT_EQ(shown, start / 40) << start;
    EXPECT_LE(frames[shown], start / 1000.0);
    EXPECT_GT(frames[shown] + 0.04, start / 1000.0);
    EXPECT_LT(start / 1000.0, facts.Seconds) << "the entry starts inside the video";
  }
  // Nothing burns before the first ignition; something does while its entry shows.
  const auto before = DecodeVideoFrame(video, entries[0].first / 40 - 1);
  ASSERT_TRUE(before) << before.Message();
  EXPECT_TRUE(Black(before.Value()));
  bool lit = false;
  for (int64_t f = entries[0].first / 40; f < entries[0].second / 40 && f < facts.Video->Packets && !lit; ++f) {
    const auto picture = DecodeVideoFrame(video, f);
    ASSERT_TRUE(picture) << picture.Message();
    lit = !Black(picture.Value());
  }
  EXPECT_TRUE(lit);
}

}  // namespace
}  // namespace orvane::testing
