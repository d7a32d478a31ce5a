#pragma once
// The word "Orvane" drawn from stroke glyphs of our own (centre lines, round pen).

#include <vector>

namespace orvane::tools {

struct Point2 {
  float x = 0.0f, y = 0.0f;
};

// Polylines of the word in cap-height units: y up from the baseline, x from 0.
struct StrokeText {
  std::vector<std::vector<Point2>> Strokes;
  float Width = 0.0f;
};

StrokeText OrvaneWord();

// Distance from p to the nearest stroke centre line.
float DistanceToStrokes(const StrokeText& text, Point2 p);

}  // namespace orvane::tools
