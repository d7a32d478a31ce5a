#include "show/site_units.h"

#include <cmath>

#include "show/cue_list.h"

namespace orvane {

MetrePoint MetresFromUnits(const ShowSite& site, const UnitPoint& units) {
  const double mpu = site.MetresPerUnit;
  return {static_cast<double>(units.X) * mpu, static_cast<double>(units.Z) * mpu,
          (static_cast<double>(units.Y) - static_cast<double>(site.GroundY)) * mpu};
}

UnitPoint UnitsFromMetres(const ShowSite& site, const MetrePoint& metres) {
  const double mpu = site.MetresPerUnit;
  const float height = static_cast<float>(metres.Y / mpu);
  return {static_cast<float>(metres.X / mpu), site.GroundY + height, static_cast<float>(metres.Z / mpu)};
}

double MetresFromUnitLength(const ShowSite& site, double units) { return units * site.MetresPerUnit; }

bool InShowRange(const UnitPoint& units) {
  for (const float v : {units.X, units.Y, units.Z})
    if (!(std::fabs(static_cast<double>(v)) <= kMaxCuePosition)) return false;
  return true;
}

UnitPoint PositionStart(const ShowSite& site, const SitePosition& position, float ownY) {
  UnitPoint start = UnitsFromMetres(site, {position.X, position.Z, position.Y.value_or(0)});
  if (!position.Y) start.Y = ownY;
  return start;
}

}  // namespace orvane
