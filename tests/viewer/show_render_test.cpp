// Headless show rendering: frame selection, pictures, sheets and PNG files.

#include <gtest/gtest.h>

#include "export/png_file.h"
#include "app/render_args.h"
#include "export/show_render.h"
#include "playback_rig.h"
#include "support/file_size_limit.h"
#include "support/test_paths.h"

namespace orvane::testing {
namespace {

TEST(ShowRender, SpreadFramesCoverTheShowEvenly) {
  EXPECT_EQ(SpreadFrames(130, 12), (std::vector<int64_t>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}));
  EXPECT_EQ(SpreadFrames(3, 12), (std::vector<int64_t>{0, 1, 2})) << "short shows give fewer tiles";
  EXPECT_TRUE(SpreadFrames(0, 12).empty());
  EXPECT_EQ(FrameTimeLabel(62), "t = 2.48 s");
}

TEST(ShowRender, ContactSheetPlacesTilesRowByRow) {
  std::vector<RenderedFrame> tiles(3);
  for (size_t i = 0; i < tiles.size(); ++i) tiles[i].Rgb.assign(2 * 2 * 3, static_cast<uint8_t>(10 * (i + 1)));
  const std::vector<uint8_t> sheet = ContactSheet(tiles, 2, 2, 2, 2);
  ASSERT_EQ(sheet.size(), 4u * 4u * 3u);
  auto at = [&](int x, int y) { return sheet[static_cast<size_t>((y * 4 + x) * 3)]; };
  EXPECT_EQ(at(0, 0), 10);
  EXPECT_EQ(at(3, 1), 20);
  EXPECT_EQ(at(1, 2), 30);
  EXPECT_EQ(at(2, 3), 0) << "a missing tile stays black";
}

TEST(ShowRender, DrawsTheWantedFramesOfAShowOnce) {
  PlaybackRig rig;
  TestShow show{60};
  show.particles_in = [](int f) { return f >= 10 ? 20 : 0; };
  rig.WriteShow(BuildShow(show));
  RenderOptions options;
  options.Width = 160;
  options.Height = 120;
  options.Scenery = RenderScenery::Grid;
  std::vector<RenderedFrame> frames;
  const RenderReport report = RenderShow(
      rig.ShowPath().string(), options, [](int64_t i) { return i % 10 == 5; }, FrameTimeLabel,
      [&frames](RenderedFrame&& f) {
        frames.push_back(std::move(f));
        return true;
      });
  ASSERT_TRUE(report.Error.empty()) << report.Error;
  ASSERT_EQ(frames.size(), 6u);
  for (size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i].Index, static_cast<int64_t>(10 * i + 5));
  // Frame 5 holds no particles, frame 15 twenty at the centre: the centre lights up.
  auto centre = [](const RenderedFrame& f) { return f.Rgb[(60 * 160 + 80) * 3]; };
  EXPECT_EQ(centre(frames[0]), 0);
  EXPECT_GT(centre(frames[1]), 200);
  EXPECT_EQ(WritePng((rig.dir.Path() / "f.png").string(), frames[1].Rgb, 160, 120), "");
  const std::string png = ReadFileBytes(rig.dir.Path() / "f.png");
  EXPECT_EQ(png.substr(1, 3), "PNG");
}

TEST(ShowRender, MissingShowIsAnError) {
  PlaybackRig rig;
  const RenderReport report = RenderShow(
      rig.ShowPath().string(), RenderOptions{}, [](int64_t) { return true; }, nullptr,
      [](RenderedFrame&&) { return true; });
  EXPECT_NE(report.Error.find("ovcompile.dat"), std::string::npos) << report.Error;
  EXPECT_EQ(WritePng((rig.dir.Path() / "no" / "x.png").string(), std::vector<uint8_t>(12), 2, 2).empty(), false);
}

TEST(ShowRender, AFullDiskLeavesNoPartPictureAndKeepsTheOldOne) {
  testing::ScratchDir dir;
  const auto target = dir.Write("sheet.png", "old sheet");
  std::vector<uint8_t> noise(300 * 200 * 3);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
  std::string error;
  {
    testing::FileSizeLimit full(1000);
    error = WritePng(target.string(), noise, 300, 200);
  }
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(testing::ReadFileBytes(target), "old sheet");
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST(RenderArgs, ReadSizesRangesSceneryAndCamera) {
  EXPECT_EQ(ParseRenderSize("640x480"), (std::pair<int32_t, int32_t>{640, 480}));
  for (const char* bad : {"640", "640x", "x480", "8x8", "640x480x3", "99999x10", "-5x20"}) {
    EXPECT_FALSE(ParseRenderSize(bad)) << bad;
  }
  const auto range = ParseFrameRange("10-20");
  ASSERT_TRUE(range);
  EXPECT_EQ(range->First, 10);
  EXPECT_EQ(range->Last, 20);
  EXPECT_EQ(ParseFrameRange("7")->Last, 7);
  EXPECT_EQ(ParseFrameRange("7-")->Last, INT64_MAX);
  for (const char* bad : {"20-10", "-3", "a-b", "1-2-3", ""}) EXPECT_FALSE(ParseFrameRange(bad)) << bad;
  EXPECT_EQ(ParseScenery("grid"), RenderScenery::Grid);
  EXPECT_FALSE(ParseScenery("Grid"));
  const auto camera = ParseRenderCamera("170,-10.5,1,2,9");
  ASSERT_TRUE(camera);
  EXPECT_FLOAT_EQ(camera->Yaw, 170);
  EXPECT_FLOAT_EQ(camera->Pitch, -10.5f);
  EXPECT_FLOAT_EQ(camera->Z, 9);
  EXPECT_TRUE(ParseRenderCamera("170;-10,5;1;2;9")) << "comma decimals with ';' between values";
  for (const char* bad : {"1,2,3,4", "1,95,0,0,8", "a,0,0,0,8", "1,0,0,0,nan"}) {
    EXPECT_FALSE(ParseRenderCamera(bad)) << bad;
  }
}

}  // namespace
}  // namespace orvane::testing
