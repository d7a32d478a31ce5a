#include "model/color_editor_ants.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/color_editor.h"
#include "model/color_editor_graph.h"
#include "support/scripted_dialogs.h"

namespace orvane {
namespace {

constexpr Rgb8 kMarker{1, 2, 3};

std::vector<std::pair<int, int>> Walk(int x1, int y1, int x2, int y2) {
  std::vector<std::pair<int, int>> points;
  WalkLine(x1, y1, x2, y2, [&](int x, int y) { points.emplace_back(x, y); });
  return points;
}

// The frame's pixels in walking order, 'B' black, 'W' white.
std::string Perimeter(const RgbImage& image, const SelectionRect& r) {
  std::string s;
  const auto read = [&](int x, int y) {
    const Rgb8 p = image.Pixel(x, y);
    s.push_back(p == kBlack ? 'B' : p == kWhite ? 'W' : '?');
  };
  WalkLine(r.X1, r.Y1, r.X2, r.Y1, read);
  WalkLine(r.X2, r.Y1, r.X2, r.Y2, read);
  WalkLine(r.X2, r.Y2, r.X1, r.Y2, read);
  WalkLine(r.X1, r.Y2, r.X1, r.Y1, read);
  return s;
}

TEST(AntsPhase, RunsThroughFourPhases) {
  EXPECT_EQ(NextAntsPhase(128), 32);
  EXPECT_EQ(NextAntsPhase(32), 8);
  EXPECT_EQ(NextAntsPhase(8), 2);
  EXPECT_EQ(NextAntsPhase(2), 128);
}

TEST(WalkLine, VisitsEveryPointButTheLast) {
  using P = std::vector<std::pair<int, int>>;
  EXPECT_EQ(Walk(0, 0, 3, 0), (P{{0, 0}, {1, 0}, {2, 0}}));
  EXPECT_EQ(Walk(2, 5, 2, 2), (P{{2, 5}, {2, 4}, {2, 3}}));
  EXPECT_EQ(Walk(4, 1, 1, 1), (P{{4, 1}, {3, 1}, {2, 1}}));
  EXPECT_EQ(Walk(0, 0, 2, 2), (P{{0, 0}, {1, 1}}));
  EXPECT_TRUE(Walk(3, 3, 3, 3).empty());
}

TEST(AntsFrame, FiveBlackThreeWhiteRunningRoundTheCorners) {
  RgbImage image(8, 6, kMarker);
  const SelectionRect r{0, 0, 5, 3};
  DrawAntsFrame(image, r, 128);
  EXPECT_EQ(Perimeter(image, r), "BBBBBWWWBBBBBWWW");
  // Top edge: x 0..4 black; right edge from (5, 0): white.
  EXPECT_EQ(image.Pixel(4, 0), kBlack);
  EXPECT_EQ(image.Pixel(5, 0), kWhite);
  EXPECT_EQ(image.Pixel(5, 3), kBlack);
  EXPECT_EQ(image.Pixel(0, 1), kWhite);
  EXPECT_EQ(image.Pixel(2, 2), kMarker);  // inside untouched
  EXPECT_EQ(image.Pixel(6, 0), kMarker);

  DrawAntsFrame(image, r, 32);  // the next phase starts two pixels later in the dash
  EXPECT_EQ(Perimeter(image, r), "WWBBBBBWWWBBBBBW");
}

TEST(AntsFrame, NothingSelectedDrawsNothing) {
  RgbImage image(8, 6, kMarker);
  DrawAntsFrame(image, SelectionRect{}, 128);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) ASSERT_EQ(image.Pixel(x, y), kMarker);
  }
}

TEST(AntsFrame, SelectionFramesTheRowOnTheTimer) {
  testing::ScriptedDialogs d;
  ColorEditor e(d, {NewColorSegment(5, 15, 0, 0x0000FF, 0x0000FF), NewColorSegment(10, 60, 0, 0xFF00, 0xFF00)});
  e.DrawGraph();
  e.Select(0);
  // 26.5 and 79.5, halves to even.
  EXPECT_EQ(e.Selection(), (SelectionRect{26, 0, 80, 47}));
  e.TickAnts();
  EXPECT_EQ(e.AntsPhase(), 32);
  EXPECT_EQ(e.Graph().Pixel(26, 0), kWhite);   // state 64
  EXPECT_EQ(e.Graph().Pixel(28, 0), kBlack);   // state 1
  EXPECT_EQ(e.Graph().Pixel(80, 20), kBlack);  // 74th point of the frame, 74 mod 8 = 2
  EXPECT_EQ(e.Graph().Pixel(80, 25), kWhite);  // 79 mod 8 = 7

  e.Select(1);
  EXPECT_EQ(e.Selection(), (SelectionRect{53, 0, 318, 47}));
  // Changing the selection redrew the graph: the old frame's top edge is red again.
  EXPECT_EQ(e.Graph().Pixel(28, 0), (Rgb8{255, 0, 0}));

  e.Select(std::nullopt);
  EXPECT_EQ(e.Selection(), SelectionRect{});
  e.TickAnts();
  EXPECT_EQ(e.AntsPhase(), 8);
  EXPECT_EQ(e.Graph().Pixel(28, 0), (Rgb8{255, 0, 0}));
}

}  // namespace
}  // namespace orvane
