#include "model/color_editor_ants.h"

#include <algorithm>
#include <cstdlib>

#include "util/rounding.h"

namespace orvane {
namespace {

// Nearest integer to num / den for den > 0, halves away from zero.
int RoundedQuotient(int num, int den) {
  return num >= 0 ? (2 * num + den) / (2 * den) : -((-2 * num + den) / (2 * den));
}

}  // namespace

SelectionRect SelectionRectFor(const ColorRow& row, int width, int height) {
  return {RoundHalfEven(row.InitialPos * (width - 1) / 100.0), 0, RoundHalfEven(row.FinalPos * (width - 1) / 100.0),
          height - 1};
}

uint8_t NextAntsPhase(uint8_t phase) {
  const uint8_t next = static_cast<uint8_t>(phase >> 2);
  return next == 0 ? kFirstAntsPhase : next;
}

void WalkLine(int x1, int y1, int x2, int y2, const std::function<void(int, int)>& visit) {
  const int dx = x2 - x1;
  const int dy = y2 - y1;
  const int steps = std::max(std::abs(dx), std::abs(dy));
  for (int i = 0; i < steps; ++i) visit(x1 + RoundedQuotient(dx * i, steps), y1 + RoundedQuotient(dy * i, steps));
}

void DrawAntsFrame(RgbImage& image, const SelectionRect& r, uint8_t phase) {
  uint8_t state = phase;
  const auto dash = [&](int x, int y) {
    state = static_cast<uint8_t>(state << 1);
    if (state == 0) state = 1;
    image.SetPixel(x, y, state >= 32 ? kWhite : kBlack);
  };
  WalkLine(r.X1, r.Y1, r.X2, r.Y1, dash);
  WalkLine(r.X2, r.Y1, r.X2, r.Y2, dash);
  WalkLine(r.X2, r.Y2, r.X1, r.Y2, dash);
  WalkLine(r.X1, r.Y2, r.X1, r.Y1, dash);
}

}  // namespace orvane
