// orvane-cli render and video in the night look: its options, camera paths and title card.

#include <gtest/gtest.h>

#include <filesystem>

#include "export/png_file.h"
#include "support/cli_run.h"
#include "support/test_paths.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

class CliNight : public ::testing::Test {
 protected:
  void SetUp() override {
    show_ = (dir.Path() / "p1.dat").string();
    const CliRun r = Cli({"compile", "--preset", "1", "--root", "101", "--seed", "1", "-o", show_});
    ASSERT_EQ(r.Status, 0) << r.Err;
  }

  // One frame drawn with the given options; empty after a failure.
  PngPicture Frame(int frame, std::vector<std::string> options) {
    const fs::path out = dir.Path() / ("frames" + std::to_string(++runs_));
    std::vector<std::string> words = {"render", show_,   "-o", out.string(), "--frames", std::to_string(frame),
                                      "--size", "160x90"};
    words.insert(words.end(), options.begin(), options.end());
    const CliRun r = Cli(words);
    PngPicture picture;
    EXPECT_EQ(r.Status, 0) << r.Err;
    if (r.Status != 0) return picture;
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05d.png", frame);
    EXPECT_EQ(ReadPng((out / name).string(), picture), "");
    return picture;
  }

  std::string PathFile(const std::string& name, const std::string& text) { return dir.Write(name, text).string(); }

  ScratchDir dir;
  std::string show_;
  int runs_ = 0;
};

// Mean of one channel over a band of rows, top row 0.
double Mean(const PngPicture& p, int channel, int from_row, int to_row) {
  double sum = 0;
  for (int y = from_row; y < to_row; ++y) {
    for (int x = 0; x < p.Width; ++x) sum += p.Rgb[(static_cast<size_t>(y) * p.Width + x) * 3 + channel];
  }
  return sum / ((to_row - from_row) * p.Width);
}

TEST_F(CliNight, DrawsANightSkyInsteadOfTheScenery) {
  const PngPicture night = Frame(100, {"--look", "night"});
  const PngPicture classic = Frame(100, {});
  ASSERT_EQ(night.Width, 160);
  ASSERT_EQ(classic.Width, 160);
  EXPECT_NE(night.Rgb, classic.Rgb);
  // The sky's top is dark blue.
  EXPECT_GT(Mean(night, 2, 0, 10), Mean(night, 0, 0, 10) + 2);
  EXPECT_LT(Mean(night, 2, 0, 10), 60);
}

TEST_F(CliNight, OptionsOfTheOtherLookAreRefused) {
  const std::string path =
      PathFile("camera.csv", "time,eye_x,eye_y,eye_z,target_x,target_y,target_z,fov\n0,0,2,150,0,60,0,50\n");
  const struct {
    std::vector<std::string> Options;
    const char* Message;
  } cases[] = {
      {{"--look", "dusk"}, "--look takes night or classic"},
      {{"--look", "night", "--scenery", "grid"}, "--scenery belongs to the classic look; add --look classic"},
      {{"--look", "night", "--flat"}, "--flat belongs to the classic look; add --look classic"},
      {{"--camera-path", path}, "--camera-path belongs to the night look (--look night)"},
      {{"--look", "classic", "--ground", "water"}, "--ground belongs to the night look (--look night)"},
      {{"--look", "night", "--ground", "lava"}, "--ground takes field or water"},
      {{"--look", "night", "--title", "A", "--no-title"}, "--title and --no-title exclude each other"},
      {{"--look", "night", "--camera-path", (dir.Path() / "none.csv").string()}, "none.csv"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> words = {"render", show_, "-o", (dir.Path() / "x").string()};
    words.insert(words.end(), c.Options.begin(), c.Options.end());
    const CliRun r = Cli(words);
    EXPECT_EQ(r.Status, 1) << c.Message;
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
  }
  EXPECT_FALSE(fs::exists(dir.Path() / "x" / "frame_00000.png"));
}

TEST_F(CliNight, ABadCameraPathIsNamedByLineAndColumn) {
  const std::string path = PathFile("path.csv",
                                    "time,eye_x,eye_y,eye_z,target_x,target_y,target_z,fov\n"
                                    "0,0,2,150,0,60,0,50\n"
                                    "1,0,2,150,0,60,0,wide\n");
  const CliRun r = Cli({"render", show_, "--look", "night", "--camera-path", path, "-o", (dir.Path() / "x").string()});
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("path.csv line 3, column 8 (fov): \"wide\" is not a number."), std::string::npos) << r.Err;
}

TEST_F(CliNight, TheCameraFollowsThePath) {
  const std::string header = "time,eye_x,eye_y,eye_z,target_x,target_y,target_z,fov\n";
  const std::string atShow = PathFile("show.csv", header + "0,0,2,150,0,60,0,60\n");
  const std::string atGround = PathFile("ground.csv", header + "0,0,2,150,0,0,148,60\n");
  const std::string turning = PathFile("turn.csv", header + "0,0,2,150,0,60,0,60\n4,0,2,150,0,0,148,60\n");
  const PngPicture show = Frame(100, {"--look", "night", "--camera-path", atShow});
  const PngPicture ground = Frame(100, {"--look", "night", "--camera-path", atGround});
  ASSERT_FALSE(show.Rgb.empty());
  ASSERT_FALSE(ground.Rgb.empty());
  EXPECT_NE(show.Rgb, ground.Rgb);
  // Looking down, the picture's top is ground, darker and greener than the sky.
  EXPECT_LT(Mean(ground, 2, 0, 10), Mean(show, 2, 0, 10));
  // The turning path is at the first key at 0 s and at the second from 4 s on.
  EXPECT_EQ(Frame(100, {"--look", "night", "--camera-path", turning}).Rgb, ground.Rgb);
  EXPECT_EQ(Frame(0, {"--look", "night", "--camera-path", turning}).Rgb,
            Frame(0, {"--look", "night", "--camera-path", atShow}).Rgb);
}

TEST_F(CliNight, TheTitleShowsOnlyInTheFirstTwoSeconds) {
  const std::vector<std::string> titled = {"--look", "night", "--title", "HARBOUR"};
  const std::vector<std::string> plain = {"--look", "night"};
  const PngPicture early = Frame(25, titled);
  EXPECT_NE(early.Rgb, Frame(25, plain).Rgb);
  // The letters are light over the dark sky in the band of the card (centred 44 % down).
  EXPECT_GT(Mean(early, 0, 34, 46), Mean(Frame(25, plain), 0, 34, 46) + 5);
  EXPECT_EQ(Frame(60, titled).Rgb, Frame(60, plain).Rgb);
}

TEST_F(CliNight, VideoRefusesTheCameraPathAsItsOutput) {
  const std::string path =
      PathFile("camera.csv", "time,eye_x,eye_y,eye_z,target_x,target_y,target_z,fov\n0,0,2,150,0,60,0,50\n");
  const std::string before = ReadFileBytes(path);
  const CliRun r = Cli({"video", show_, "--look", "night", "--camera-path", path, "-o", path});
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("-o names the input"), std::string::npos) << r.Err;
  EXPECT_EQ(ReadFileBytes(path), before);
}

}  // namespace
}  // namespace orvane::testing
