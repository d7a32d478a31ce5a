#pragma once
// A product's measured figures in the designer's units, from its device compiled alone.

#include <cstdint>

namespace orvane {

struct ProductFigures {
  bool Seen = false;       // the device made particles
  bool Cut = false;        // the measurement was bounded: the device runs on
  bool Broke = false;      // its chain opened: it has a break
  int64_t PrefireMs = 0;   // firing to break; 0 without a break
  double BreakHeight = 0;  // metres above the firing position
  double Spread = 0;       // metres: the largest horizontal radius
  double Top = 0;          // metres: the highest point above the firing position
  double DurationS = 0;    // firing to the last particle
};

}  // namespace orvane
