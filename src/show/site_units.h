#pragma once
// Metres and scene units, both ways, for every layer: x_m = x_u * mpu, z_m = z_u * mpu and
// heights above ground y_m = (y_u - ground_y) * mpu; back through float32 exactly as a
// typed coordinate is read, x_u = f32(x_m / mpu), y_u = f32(ground_y + f32(y_m / mpu)).

#include "show/show_site.h"

namespace orvane {

struct UnitPoint {
  float X = 0, Y = 0, Z = 0;  // scene units
  bool operator==(const UnitPoint&) const = default;
};

struct MetrePoint {
  double X = 0, Z = 0;  // metres
  double Y = 0;         // metres above ground
  bool operator==(const MetrePoint&) const = default;
};

MetrePoint MetresFromUnits(const ShowSite& site, const UnitPoint& units);
UnitPoint UnitsFromMetres(const ShowSite& site, const MetrePoint& metres);

// Distances and heights above another point: no ground offset.
double MetresFromUnitLength(const ShowSite& site, double units);

// Whether every coordinate fits the show file's range.
bool InShowRange(const UnitPoint& units);

// Where a cue fired at the position starts: its x and z, and its height when it gives one;
// otherwise `ownY` (the cue's or its device's start height, in units).
UnitPoint PositionStart(const ShowSite& site, const SitePosition& position, float ownY);

}  // namespace orvane
