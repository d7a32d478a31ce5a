#include "model/color_editor_graph.h"

#include <gtest/gtest.h>

#include "model/color_editor.h"
#include "model/color_segment.h"
#include "support/scripted_dialogs.h"

namespace orvane {
namespace {

constexpr Rgb8 kRed{255, 0, 0};
constexpr Rgb8 kGray{128, 128, 128};

bool IsHatchLine(int x, int y) { return (x + y) % 8 == 7; }

TEST(GraphColumns, SpanFollowsTheScaleOfTheGraph) {
  const auto cols = GraphColumns({0, 50, 0, 0x0000FF, 0x0000FF}, kGraphWidth);
  ASSERT_EQ(cols.size(), 266u);  // 50 % of 530 is 265: columns 0..265
  EXPECT_EQ(cols.front().X, 0);
  EXPECT_EQ(cols.back().X, 265);
  for (const auto& c : cols) {
    EXPECT_EQ(c.Segment, kRed);
    EXPECT_EQ(c.Fade, kWhite);
    EXPECT_FALSE(c.BlinkMark);
  }
  // 10 % is 53.0, 12 % is 63.6
  const auto mid = GraphColumns({10, 12, 0, 0, 0}, kGraphWidth);
  EXPECT_EQ(mid.front().X, 53);
  EXPECT_EQ(mid.back().X, 64);
}

TEST(GraphColumns, FadeGoesFromWhiteToThePanelColour) {
  const auto cols = GraphColumns({0, 50, kFadeOut, 0x0000FF, 0x0000FF}, kGraphWidth);
  EXPECT_EQ(cols[0].Fade, kWhite);
  // 255 - 100 * 127 / 265 = 207.08
  EXPECT_EQ(cols[100].Fade, (Rgb8{207, 207, 207}));
  EXPECT_EQ(cols[265].Fade, kGray);
  EXPECT_EQ(cols[100].Segment, kRed);
}

TEST(GraphColumns, MixColorMovesEachChannelAcrossTheSpan) {
  // Red 0 -> 212 and blue 200 -> 0 over 530 columns: steps 0.4 and -200/530.
  const auto cols = GraphColumns({0, 100, kMixColor, 0xC80000, 0x0000D4}, kGraphWidth);
  ASSERT_EQ(cols.size(), 531u);
  EXPECT_EQ(cols[0].Segment, (Rgb8{0, 0, 200}));
  EXPECT_EQ(cols[100].Segment, (Rgb8{40, 0, 162}));  // 200 - 37.74
  EXPECT_EQ(cols[530].Segment, (Rgb8{212, 0, 0}));
}

TEST(GraphColumns, OvershootOfTheLastColumnIsClampedNotWrapped) {
  // 1 % .. 2 % is 5.3 .. 10.6: seven columns for a span of 5.3, so the last steps past 255.
  const auto cols = GraphColumns({1, 2, kMixColor, 0x000000, 0x0000FF}, kGraphWidth);
  ASSERT_EQ(cols.size(), 7u);
  EXPECT_EQ(cols[5].Segment.R, 241);  // 5 * 255 / 5.3 = 240.6
  EXPECT_EQ(cols[6].Segment.R, 255);
}

TEST(GraphColumns, BlinkMarksEveryFourthColumn) {
  const auto cols = GraphColumns({1, 4, kBlink, 0, 0}, kGraphWidth);
  ASSERT_FALSE(cols.empty());
  for (const auto& c : cols) EXPECT_EQ(c.BlinkMark, c.X % 4 == 0) << c.X;
}

TEST(GraphColumns, ReversedAndEmptySpans) {
  EXPECT_TRUE(GraphColumns({60, 10, kMixColor, 0, 0xFF}, kGraphWidth).empty());
  const auto one = GraphColumns({40, 40, kMixColor | kFadeOut, 0x0000FF, 0x00FF00}, kGraphWidth);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].X, 212);
  EXPECT_EQ(one[0].Segment, kRed);
  EXPECT_EQ(one[0].Fade, kWhite);
}

TEST(DrawGraph, BandsAre32And8And8PixelsHigh) {
  RgbImage image(kGraphWidth, kGraphHeight);
  DrawGraph(image, {{0, 50, kFadeOut | kBlink, 0x0000FF, 0x0000FF}});
  for (int x : {0, 1, 4, 100, 265}) {
    for (int y = 0; y < 32; ++y) ASSERT_EQ(image.Pixel(x, y), kRed) << x << "," << y;
    const Rgb8 fade = image.Pixel(x, 32);
    for (int y = 32; y < 40; ++y) ASSERT_EQ(image.Pixel(x, y), fade) << x << "," << y;
    const Rgb8 blink = x % 4 == 0 ? kGray : kWhite;
    for (int y = 40; y < 48; ++y) ASSERT_EQ(image.Pixel(x, y), blink) << x << "," << y;
  }
  EXPECT_EQ(image.Pixel(0, 32), kWhite);
  EXPECT_EQ(image.Pixel(265, 39), kGray);
  // Past the segment only hatch on white: white.
  for (int y = 0; y < 48; ++y) EXPECT_EQ(image.Pixel(266, y), kWhite);
}

TEST(DrawGraph, EarlierRowEndsOnTop) {
  RgbImage image(kGraphWidth, kGraphHeight);
  DrawGraph(image, {{0, 50, 0, 0x0000FF, 0x0000FF}, {25, 75, 0, 0x00FF00, 0x00FF00}});
  EXPECT_EQ(image.Pixel(200, 10), kRed);
  EXPECT_EQ(image.Pixel(300, 10), (Rgb8{0, 255, 0}));
}

TEST(PaintHatch, WhiteBackwardDiagonalsOverWhatWasThere) {
  RgbImage image(16, 9, kRed);
  PaintHatch(image);
  for (auto [x, y] : {std::pair{7, 0}, {6, 1}, {0, 7}, {15, 0}, {8, 7}, {7, 8}, {15, 8}}) {
    EXPECT_EQ(image.Pixel(x, y), kWhite) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{0, 0}, {6, 0}, {8, 0}, {7, 1}, {1, 7}, {0, 8}}) {
    EXPECT_EQ(image.Pixel(x, y), kRed) << x << "," << y;
  }
}

TEST(DrawGraph, DeletedSegmentStaysVisibleBetweenTheHatchLines) {
  testing::ScriptedDialogs d;
  ColorEditor e(d, {NewColorSegment(0, 20, 0, 0x0000FF, 0x0000FF), NewColorSegment(60, 80, 0, 0xFF0000, 0xFF0000)});
  e.DrawGraph();
  e.Select(0);
  d.Answers.push_back(DialogAnswer::Yes);
  ASSERT_TRUE(e.Delete());
  const RgbImage& g = e.Graph();
  for (int x = 0; x <= 106; ++x) {
    for (int y = 0; y < 32; ++y) ASSERT_EQ(g.Pixel(x, y), IsHatchLine(x, y) ? kWhite : kRed) << x << "," << y;
  }
  EXPECT_EQ(g.Pixel(350, 5), (Rgb8{0, 0, 255}));  // the remaining segment is painted whole
  EXPECT_EQ(g.Pixel(200, 5), kWhite);             // never covered
}

}  // namespace
}  // namespace orvane
