// orvane-cli render and preview, run in-process.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/cli_command.h"
#include "playback_rig.h"
#include "support/cli_run.h"
#include "util/random.h"

namespace orvane::testing {
namespace {

uint32_t Be32(const std::string& b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) << 24 | static_cast<uint8_t>(b[at + 1]) << 16 |
         static_cast<uint8_t>(b[at + 2]) << 8 | static_cast<uint8_t>(b[at + 3]);
}

TEST(CliRender, WritesTheChosenFramesAsPictures) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({40}));
  const auto out = rig.dir.Path() / "frames";
  const CliRun r = Cli({"render", rig.ShowPath().string(), "-o", out.string(), "--frames", "10-20", "--every", "5",
                        "--scenery", "grid", "--size", "160x120", "--flat", "--camera", "170,10,0,1,9"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("pictures: 3\n"), std::string::npos) << r.Out;
  for (const char* name : {"frame_00010.png", "frame_00015.png", "frame_00020.png"}) {
    const std::string png = ReadFileBytes(out / name);
    ASSERT_GT(png.size(), 24u) << name;
    EXPECT_EQ(Be32(png, 16), 160u);
    EXPECT_EQ(Be32(png, 20), 120u);
  }
  EXPECT_FALSE(std::filesystem::exists(out / "frame_00011.png"));
}

// Either way of drawing particles can be asked for; the pixel tests compare the two.
TEST(CliRender, ParticlesAsSpritesOrQuads) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({40}));
  std::string pictures[2];
  int k = 0;
  for (const char* way : {"sprites", "quads"}) {
    const auto out = rig.dir.Path() / way;
    const CliRun r = Cli({"render", rig.ShowPath().string(), "-o", out.string(), "--frames", "12", "--scenery", "none",
                          "--particles", way});
    ASSERT_EQ(r.Status, 0) << r.Err;
    pictures[k++] = ReadFileBytes(out / "frame_00012.png");
  }
  for (const std::string& png : pictures) {
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(Be32(png, 16), 392u);
  }
}

TEST(CliRender, RefusesBadOptionsAndMissingShows) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({5}));
  const std::string show = rig.ShowPath().string();
  const std::vector<std::vector<std::string>> bad = {
      {"render"},
      {"render", show, "--size", "5x5"},
      {"render", show, "--frames", "9-3"},
      {"render", show, "--every", "0"},
      {"render", show, "--scenery", "forest"},
      {"render", show, "--camera", "1,2,3"},
      {"render", show, "--particles", "dots"},
      {"render", (rig.dir.Path() / "none.dat").string(), "-o", rig.dir.Path().string()},
      {"preview", "--preset", "3"},
      {"preview", "--preset", "9", "-o", (rig.dir.Path() / "s.png").string()},
      // Past the show's end: nothing to draw is no success.
      {"render", show, "-o", (rig.dir.Path() / "late").string(), "--frames", "2000000000-"},
      {"render", show, "-o", (rig.dir.Path() / "late").string(), "--frames", "6-9"},
  };
  for (const auto& words : bad) {
    const CliRun r = Cli(words);
    EXPECT_EQ(r.Status, 1) << words.back();
    EXPECT_NE(r.Err.find("orvane-cli:"), std::string::npos) << words.back() << ": " << r.Err;
  }
}

// A picture may never land on the show it is drawn from.
TEST(CliRender, NeverWritesOverTheShow) {
  PlaybackRig rig;
  rig.WriteShow(BuildShow({5}));
  const auto show = rig.dir.Path() / "frame_00002.png";
  std::filesystem::copy_file(rig.ShowPath(), show);
  const std::string bytes = ReadFileBytes(show);
  const CliRun r = Cli({"render", show.string(), "-o", rig.dir.Path().string(), "--frames", "0-4", "--size", "64x48"});
  EXPECT_EQ(r.Status, 1) << r.Err;
  EXPECT_NE(r.Err.find("is the show file"), std::string::npos) << r.Err;
  EXPECT_EQ(ReadFileBytes(show), bytes);
}

TEST(CliPreview, DrawsAContactSheetOfAPreset) {
  ScratchDir dir;
  const auto sheet = dir.Path() / "sheet.png";
  const CliRun r = Cli({"preview", "--preset", "3", "--seed", "1", "-o", sheet.string()});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("tiles: 12\n"), std::string::npos) << r.Out;
  const std::string png = ReadFileBytes(sheet);
  ASSERT_GT(png.size(), 10000u) << "a picture with content compresses to more than a black one";
  EXPECT_EQ(Be32(png, 16), 4u * 392u);
  EXPECT_EQ(Be32(png, 20), 3u * 324u);
}

}  // namespace
}  // namespace orvane::testing
