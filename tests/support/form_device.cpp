#include "support/form_device.h"

namespace orvane::testing {

TBaseDevice FormDevice(int32_t code) {
  TBaseDevice d;
  d.Definition.Code = code;
  d.ProjectionXY = 0;
  d.OpeningXY = 360;
  d.ProjectionXZ = 0;
  d.OpeningXZ = 180;
  d.StarQuantity = 500;
  d.StarKind = StarKind::Explosive;
  d.TrailLife = 100;
  d.StarWeight = 10;
  d.StarSpeed = 20;
  d.StarResistance = 10;
  d.StarSize = 10;
  d.SpeedKind = SpeedKind::Homogeneous;
  d.EffectLength = 2000;
  d.MinStarLife = 50;
  d.MaxStarLife = 100;
  return d;
}

}  // namespace orvane::testing
