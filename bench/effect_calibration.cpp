// Prints the calibration table of the generated effects: for every type at 50 to 150 mm,
// the median over the measuring seeds of break height and spread against the calibre's
// targets, and whether each cell is within the tolerance. Exit 1 when any is not.

#include <chrono>
#include <cstdio>

#include "effects/calibration.h"

int main() {
  using namespace orvane;
  const auto start = std::chrono::steady_clock::now();
  const std::vector<CalibrationCell> cells = RunCalibration();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::fputs(CalibrationTableText(cells).c_str(), stdout);
  int out = 0;
  for (const CalibrationCell& cell : cells) out += cell.Within(kCalibrationTolerance) ? 0 : 1;
  std::printf("cells: %zu\noutside: %d\nseconds: %.2f\n", cells.size(), out, took.count());
  return out == 0 ? 0 : 1;
}
