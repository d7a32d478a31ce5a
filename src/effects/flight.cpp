#include "effects/flight.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "compiler/compiled_device_prep.h"
#include "model/form_ranges.h"

namespace orvane {
namespace {

double Carried(double drag, int moves) {
  if (moves <= 0) return 0;
  return std::exp(drag) * -std::expm1(-drag * moves) / drag;
}

}  // namespace

double Flight::Across(double speed, int moves) const { return speed * Carried(Drag, moves); }

double Flight::Up(double speed, int moves) const {
  const double terminal = Fall / Drag;
  return -terminal * moves + (speed + terminal) * Carried(Drag, moves);
}

int Flight::MovesToApex(double speed) const {
  // The move at age a rises while e^(-ka) (e^k - 1) (v + g/k) > g.
  const double terminal = Fall / Drag;
  if (speed <= 0 || Fall <= 0) return 0;
  const double ratio = Fall / ((speed + terminal) * std::expm1(Drag));
  if (ratio >= 1) return 0;
  return static_cast<int>(std::floor(-std::log(ratio) / Drag)) + 1;
}

Flight FlightOf(int resistance, int weight) {
  TBaseDevice probe;
  probe.StarResistance = resistance;
  probe.StarWeight = weight;
  const TCompDevice part = CompiledScalars(probe);
  return Flight{part.Resistance, -static_cast<double>(part.Gravity)};
}

double SpeedPerStep() {
  TBaseDevice probe;
  probe.StarSpeed = 1;
  return CompiledScalars(probe).Speed / 1000.0;
}

int StarSpeedForApex(const Flight& flight, double height, double upward) {
  int best = kSpeedRange.Min;
  double bestError = INFINITY;
  for (int s = kSpeedRange.Min; s <= kSpeedRange.Max; ++s) {
    const double error = std::abs(flight.Apex(s * SpeedPerStep() * upward) - height);
    if (error < bestError) {
      best = s;
      bestError = error;
    }
  }
  return best;
}

double LiftBreakOffset(const TBaseDevice& lift) {
  const TCompDevice part = CompiledScalars(lift);
  const double across = std::abs(std::cos(lift.ProjectionXY * std::numbers::pi / 180.0));
  const Flight flight{part.Resistance, -static_cast<double>(part.Gravity)};
  return flight.Across(part.Speed / 1000.0 * across, part.MaxLifeFrames);
}

int StarSpeedFor(double speed) {
  const long s = std::lround(speed / SpeedPerStep());
  return static_cast<int>(std::clamp<long>(s, kSpeedRange.Min, kSpeedRange.Max));
}

}  // namespace orvane
