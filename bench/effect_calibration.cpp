// Prints the calibration table of the generated effects: for every type at 50 to 150 mm,
// the median over the measuring seeds of break height and spread against the calibre's
// targets, and whether each cell is within the tolerance. Exit 1 when any is not.
//
// With a count N, also measures every cell at seeds 1..N one by one and prints how many
// single compiles fall outside the tolerance and each cell's widest spread error.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "effects/calibration.h"
#include "effects/effect_recipe.h"
#include "effects/effect_targets.h"

namespace {

using namespace orvane;

int SingleSeeds(const std::vector<CalibrationCell>& cells, uint32_t seeds) {
  int out = 0;
  int total = 0;
  for (const CalibrationCell& cell : cells) {
    Result<EffectChain> chain = MakeEffect(cell.Description, [](int32_t) { return false; }, 1);
    if (!chain) continue;
    double worstHeight = 0, worstSpread = 0;
    for (uint32_t seed = 1; seed <= seeds; ++seed) {
      const Result<EffectMeasurement> m = MeasureEffect(chain.Value(), seed, kRecipeMetresPerUnit);
      if (!m) continue;
      CalibrationCell single = cell;
      single.Measured = m.Value();
      ++total;
      out += single.Within(kCalibrationTolerance) ? 0 : 1;
      worstHeight = std::max(worstHeight, std::abs(single.HeightError()));
      if (single.SpreadError()) worstSpread = std::max(worstSpread, std::abs(*single.SpreadError()));
    }
    std::printf("%-34s widest height error %5.1f%%, spread error %5.1f%%\n", DescriptionText(cell.Description).c_str(),
                worstHeight * 100, worstSpread * 100);
  }
  std::printf("single-compiles: %d\nsingle-outside: %d\n", total, out);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  const std::vector<CalibrationCell> cells = RunCalibration();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::fputs(CalibrationTableText(cells).c_str(), stdout);
  int out = 0;
  for (const CalibrationCell& cell : cells) out += cell.Within(kCalibrationTolerance) ? 0 : 1;
  std::printf("cells: %zu\noutside: %d\nseconds: %.2f\n", cells.size(), out, took.count());
  if (argc > 1) SingleSeeds(cells, static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)));
  return out == 0 ? 0 : 1;
}
