#pragma once
// The moving dashed frame around the selected segment of the colour editor's graph:
// 5 black and 3 white pixels that seem to crawl along the frame as the phase changes.

#include <cstdint>
#include <functional>

#include "model/color_editor_image.h"
#include "model/color_editor_row.h"

namespace orvane {

inline constexpr uint8_t kFirstAntsPhase = 128;

// Corners of the frame; all 0 when nothing is selected, which draws nothing.
struct SelectionRect {
  int X1 = 0;
  int Y1 = 0;
  int X2 = 0;
  int Y2 = 0;

  bool operator==(const SelectionRect&) const = default;
};

SelectionRect SelectionRectFor(const ColorRow& row, int width, int height);

// The phase of the next tick: 128, 32, 8, 2, 128, ...
uint8_t NextAntsPhase(uint8_t phase);

// Visits every point of the line from (x1, y1) towards (x2, y2) except (x2, y2) itself.
void WalkLine(int x1, int y1, int x2, int y2, const std::function<void(int, int)>& visit);

// The four edges clockwise from (X1, Y1), one dash state running through all of them.
void DrawAntsFrame(RgbImage& image, const SelectionRect& rect, uint8_t phase);

}  // namespace orvane
