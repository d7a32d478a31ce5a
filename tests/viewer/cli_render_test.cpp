// orvane-cli render and preview, run in-process.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/cli_command.h"
#include "export/png_file.h"
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

TEST(CliPreview, DrawsAnEffectFromItsDescription) {
  ScratchDir dir;
  const auto sheet = dir.Path() / "peony.png";
  const CliRun r = Cli({"preview", "--effect", "100mm red peony", "--size", "160x120", "-o", sheet.string()});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("tiles: 12\n"), std::string::npos) << r.Out;
  PngPicture picture;
  ASSERT_EQ(ReadPng(sheet.string(), picture), "");
  ASSERT_EQ(picture.Width, 4 * 160);
  // The burst is in view: red stars, where a green or blue one would not do.
  size_t red = 0;
  for (size_t i = 0; i + 2 < picture.Rgb.size(); i += 3) {
    const int r8 = picture.Rgb[i], g8 = picture.Rgb[i + 1], b8 = picture.Rgb[i + 2];
    if (r8 > 120 && r8 > 2 * g8 && r8 > 2 * b8) ++red;
  }
  EXPECT_GT(red, 50u);

  // One tile without texts: a thumbnail of the burst alone.
  const auto thumb = dir.Path() / "thumb.png";
  const CliRun one = Cli({"preview", "--effect", "100mm red peony", "--tiles", "1", "--no-texts", "--scenery", "none",
                          "--size", "64x48", "-o", thumb.string()});
  ASSERT_EQ(one.Status, 0) << one.Err;
  PngPicture small;
  ASSERT_EQ(ReadPng(thumb.string(), small), "");
  EXPECT_EQ(small.Width, 64);
  EXPECT_EQ(small.Height, 48);
  size_t lit = 0;
  for (uint8_t v : small.Rgb) lit += v > 60 ? 1 : 0;
  EXPECT_GT(lit, 20u);
  for (const char* tiles : {"0", "13", "x"}) {
    const CliRun refused = Cli({"preview", "--effect", "100mm red peony", "--tiles", tiles, "-o", thumb.string()});
    EXPECT_EQ(refused.Status, 1) << tiles;
    EXPECT_NE(refused.Err.find("--tiles takes 1 to 12"), std::string::npos) << refused.Err;
  }

  const CliRun bad = Cli({"preview", "--effect", "100mm sparkly willow", "-o", sheet.string()});
  EXPECT_EQ(bad.Status, 1);
  EXPECT_NE(bad.Err.find("\"sparkly\""), std::string::npos) << bad.Err;
}

}  // namespace
}  // namespace orvane::testing
