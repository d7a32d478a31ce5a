// orvane-cli video --show: a show folder compiled on the way, with the music show.json names.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "app/cli_command.h"
#include "media/video_reader.h"
#include "support/cli_run.h"
#include "support/failure_text.h"
#include "support/test_paths.h"
#include "util/random.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

// 16-bit mono WAV at 48 kHz: a 440 Hz tone.
std::string ToneWavBytes(double seconds) {
  const int32_t rate = 48000;
  const auto n = static_cast<uint32_t>(seconds * rate);
  std::string b = "RIFF";
  auto put = [&b](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(36 + n * 2, 4);
  b += "WAVEfmt ";
  put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
  b += "data";
  put(n * 2, 4);
  for (uint32_t i = 0; i < n; ++i)
    put(static_cast<uint16_t>(static_cast<int16_t>(std::lround(8000 * std::sin(2 * M_PI * 440 * i / rate)))), 2);
  return b;
}

class VideoShowTest : public ::testing::Test {
 protected:
  // Preset 1's devices in a show folder with two cues of its first device.
  fs::path ShowFolder() {
    const fs::path folder = dir.Path() / "show";
    EXPECT_EQ(Cli({"save", "--preset", "1", "-o", folder.string()}).Status, cli::kExitDone);
    dir.Write("show/cues.csv", "time,code,x\n0,101,-1\n0.4,101,1\n");
    return folder;
  }
  // The frames of the show compiled with the same seed.
  int64_t CompiledFrames(const fs::path& folder, const std::string& seed) {
    const std::string file = (dir.Path() / "compiled.dat").string();
    const CliRun r = Cli({"compile", "--show", folder.string(), "--seed", seed, "-o", file});
    EXPECT_EQ(r.Status, cli::kExitDone) << r.Err;
    const CliRun info = Cli({"info", file});
    fs::remove(file);
    return std::stoll(Figure(info.Out, "frames"));
  }
  static fs::path TemporaryShow() {
    return fs::temp_directory_path() / ("orvane-video-" + std::to_string(getpid()) + ".dat");
  }
  std::string Out() const { return (dir.Path() / "show.mp4").string(); }
  ScratchDir dir;
};

TEST_F(VideoShowTest, ShowFolderExportsEveryFrameWithItsMusic) {
  const fs::path show = ShowFolder();
  const int64_t frames = CompiledFrames(show, "3");
  ASSERT_GT(frames, 25);
  dir.Write("show/tone.wav", ToneWavBytes(frames / 25.0 + 2));
  dir.Write("show/show.json", R"({"format":"orvane-show","version":1,"music":{"file":"tone.wav","offset":1.0}})");

  const CliRun r = Cli({"video", "--show", show.string(), "--seed", "3", "-o", Out(), "--size", "96x64"});
  ASSERT_EQ(r.Status, cli::kExitDone) << r.Err;
  EXPECT_EQ(Figure(r.Out, "frames"), std::to_string(frames));
  EXPECT_EQ(Figure(r.Out, "music"), (show / "tone.wav").string()) << "the music is found in the show folder";
  const auto read_facts = ReadVideoFacts(Out());
  ASSERT_TRUE(read_facts) << read_facts.Message();
  const VideoFileFacts& facts = read_facts.Value();
  ASSERT_TRUE(facts.Video && facts.Audio);
  EXPECT_EQ(facts.Video->Packets, frames);
  EXPECT_EQ(facts.Audio->Codec, "aac");
  EXPECT_NEAR(facts.Audio->Seconds, frames / 25.0, 1 / 25.0);
  EXPECT_FALSE(fs::exists(TemporaryShow())) << "the compiled show is removed";

  // Music named on the command line replaces the show's.
  dir.Write("other.wav", ToneWavBytes(frames / 25.0));
  const CliRun other = Cli({"video", "--show", show.string(), "-o", (dir.Path() / "b.mp4").string(), "--size", "64x48",
                            "--music", (dir.Path() / "other.wav").string()});
  ASSERT_EQ(other.Status, cli::kExitDone) << other.Err;
  EXPECT_EQ(Figure(other.Out, "music"), (dir.Path() / "other.wav").string());
}

TEST_F(VideoShowTest, TheNightLookStandsOnTheShowsSite) {
  const fs::path show = ShowFolder();
  dir.Write("show/show.json", R"({"format":"orvane-show","version":1,"site":{"ground":"water"}})");
  // The lower half of the picture 0.4 s in: the ground, or the water mirroring the sky.
  auto ground = [&](std::vector<std::string> extra) {
    std::vector<std::string> words = {"video", "--show", show.string(), "-o", Out(), "--size", "64x48", "--no-title"};
    words.insert(words.end(), extra.begin(), extra.end());
    const CliRun r = Cli(words);
    EXPECT_EQ(r.Status, cli::kExitDone) << r.Err;
    const auto picture = DecodeVideoFrame(Out(), 10);
    std::vector<uint8_t> rgb = picture.ValueOr({});
    EXPECT_EQ(rgb.size(), 64u * 48 * 3) << FailureText(picture);
    if (rgb.size() == 64u * 48 * 3) rgb.erase(rgb.begin(), rgb.begin() + rgb.size() / 2);
    return rgb;
  };
  const std::vector<uint8_t> water = ground({});
  EXPECT_NE(water, ground({"--ground", "field"})) << "--ground wins over the site's";
  EXPECT_EQ(water, ground({"--ground", "water"}));
}

TEST_F(VideoShowTest, ShowWithoutMusicIsSilent) {
  const fs::path show = ShowFolder();
  const CliRun r = Cli({"video", "--show", show.string(), "-o", Out(), "--size", "64x48"});
  ASSERT_EQ(r.Status, cli::kExitDone) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(Figure(r.Out, "music"), "none");
  const auto read_facts = ReadVideoFacts(Out());
  ASSERT_TRUE(read_facts) << read_facts.Message();
  const VideoFileFacts& facts = read_facts.Value();
  ASSERT_TRUE(facts.Video);
  EXPECT_FALSE(facts.Audio);
}

TEST_F(VideoShowTest, MissingOrBadMusicAndBadShowsLeaveNothing) {
  const fs::path show = ShowFolder();
  dir.Write("show/show.json", R"({"format":"orvane-show","version":1,"music":{"file":"gone.ogg"}})");
  CliRun r = Cli({"video", "--show", show.string(), "-o", Out(), "--size", "64x48"});
  EXPECT_EQ(r.Status, cli::kExitBadInput);
  EXPECT_NE(r.Err.find("gone.ogg\" is missing"), std::string::npos) << r.Err;

  dir.Write("show/gone.ogg", "OggS but not really a stream of sound");
  r = Cli({"video", "--show", show.string(), "-o", Out(), "--size", "64x48"});
  EXPECT_EQ(r.Status, cli::kExitBadInput);
  EXPECT_NE(r.Err.find("The music file \"" + (show / "gone.ogg").string() + "\" is not in an audio format"),
            std::string::npos)
      << r.Err;

  fs::remove(show / "show.json");
  dir.Write("show/cues.csv", "time,code\n0,999\n");
  r = Cli({"video", "--show", show.string(), "-o", Out(), "--size", "64x48"});
  EXPECT_EQ(r.Status, cli::kExitBadInput);
  EXPECT_NE(r.Err.find("999"), std::string::npos) << r.Err;

  r = Cli({"video", "--show", show.string(), (dir.Path() / "x.dat").string(), "-o", Out()});
  EXPECT_EQ(r.Status, cli::kExitBadInput) << "a show folder and a show file at once";
  r = Cli({"video", (dir.Path() / "x.dat").string(), "--seed", "1", "-o", Out()});
  EXPECT_EQ(r.Status, cli::kExitBadInput) << "a show file is already seeded";

  EXPECT_FALSE(fs::exists(Out()));
  EXPECT_FALSE(fs::exists(TemporaryShow()));
}

}  // namespace
}  // namespace orvane::testing
