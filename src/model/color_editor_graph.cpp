#include "model/color_editor_graph.h"

#include <algorithm>
#include <array>

#include "model/color_segment.h"
#include "util/rounding.h"

namespace orvane {
namespace {

using Channels = std::array<double, 3>;

// A channel past the segment's end (the last column can overshoot by one step) or NaN
// (an empty span) is clamped rather than wrapped into another colour.
uint8_t PenChannel(double value) { return static_cast<uint8_t>(std::clamp(RoundHalfEven(value), 0, 255)); }

Rgb8 PenColor(const Channels& c) { return {PenChannel(c[0]), PenChannel(c[1]), PenChannel(c[2])}; }

Channels ChannelsOf(Rgb8 c) { return {double(c.R), double(c.G), double(c.B)}; }

Channels StepTowards(const Channels& from, const Channels& to, double span) {
  return {(to[0] - from[0]) / span, (to[1] - from[1]) / span, (to[2] - from[2]) / span};
}

void Advance(Channels& c, const Channels& step) {
  for (int ch = 0; ch < 3; ++ch) c[ch] += step[ch];
}

}  // namespace

std::vector<GraphColumn> GraphColumns(const ColorRow& row, int width, Rgb8 panel) {
  const double scale = (width - 1) / 100.0;
  const double xs = row.InitialPos * scale;
  const double xe = row.FinalPos * scale;
  const double span = xe - xs;

  Channels c = ChannelsOf(RgbOf(row.InitialColor));
  const Channels cStep =
      (row.Flags & kMixColor) ? StepTowards(c, ChannelsOf(RgbOf(row.FinalColor)), span) : Channels{0, 0, 0};
  Channels f = ChannelsOf(kWhite);
  const Channels fStep = (row.Flags & kFadeOut) ? StepTowards(f, ChannelsOf(panel), span) : Channels{0, 0, 0};
  const bool blink = (row.Flags & kBlink) != 0;

  std::vector<GraphColumn> columns;
  const int first = RoundHalfEven(xs);
  const int last = RoundHalfEven(xe);
  if (last >= first) columns.reserve(static_cast<size_t>(last - first) + 1);
  for (int x = first; x <= last; ++x) {
    columns.push_back({x, PenColor(c), PenColor(f), blink && x % 4 == 0});
    Advance(c, cStep);
    Advance(f, fStep);
  }
  return columns;
}

void PaintHatch(RgbImage& image) {
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = (7 - y % 8 + 8) % 8; x < image.Width(); x += 8) image.SetPixel(x, y, kWhite);
  }
}

void DrawGraph(RgbImage& image, const std::vector<ColorRow>& rows, Rgb8 panel) {
  PaintHatch(image);
  const int h = image.Height();
  const int colorBottom = 4 * (h / 6);
  const int fadeBottom = 5 * (h / 6);
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    for (const GraphColumn& col : GraphColumns(*row, image.Width(), panel)) {
      image.VerticalLine(col.X, 0, colorBottom, col.Segment);
      image.VerticalLine(col.X, colorBottom, fadeBottom, col.Fade);
      image.VerticalLine(col.X, fadeBottom, h, col.BlinkMark ? panel : kWhite);
    }
  }
}

}  // namespace orvane
