#pragma once
// The colour editor's graph: every segment across the star's life as a colour band (top
// two thirds), a fade band that goes from white to the panel colour when the star fades
// out, and a white band with a mark every fourth column when it blinks.

#include <vector>

#include "model/color_editor_image.h"
#include "model/color_editor_row.h"

namespace orvane {

inline constexpr int kGraphWidth = 531;
inline constexpr int kGraphHeight = 48;
inline constexpr Rgb8 kGraphPanelColor{128, 128, 128};  // the panel behind the graph

// What one pixel column of a segment shows.
struct GraphColumn {
  int X = 0;
  Rgb8 Segment;
  Rgb8 Fade;
  bool BlinkMark = false;  // the blink band takes the panel colour in this column
};

// The columns of one row, left to right, for a graph `width` pixels wide; none when the
// final position lies before the initial one.
std::vector<GraphColumn> GraphColumns(const ColorRow& row, int width, Rgb8 panel = kGraphPanelColor);

// White backward-diagonal hatch lines, every eighth pixel where x + y = 7 (mod 8); what
// lies between them is kept.
void PaintHatch(RgbImage& image);

// The hatch, then every row from the last to the first, so the earlier row ends on top.
void DrawGraph(RgbImage& image, const std::vector<ColorRow>& rows, Rgb8 panel = kGraphPanelColor);

}  // namespace orvane
