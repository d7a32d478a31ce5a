#pragma once
// A product's measured figures in the designer's units, from its device compiled alone.

#include <cstdint>
#include <string>

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

struct Product;

// "prefire 1.92 s (measured), break height 56.1 m (rule 60.0 m), spread 92.0 m, top 102.0 m,
// duration 9.32 s": a product's figures in one line, the prefire its break times use, and
// "OFF by N %" when it breaks aloft more than a quarter off the calibre rule. `row` may be null.
std::string ProductFiguresText(const Product* row, const ProductFigures& figures);

}  // namespace orvane
