#include "device_test_helpers.h"

#include <gtest/gtest.h>

namespace orvane::testing {

void ExpectSameRecord(const TBaseDevice& e, const TBaseDevice& a) {
  SCOPED_TRACE("device " + std::to_string(e.Definition.Code));
#define ORVANE_SAME(field) EXPECT_EQ(e.field, a.field) << #field
  ORVANE_SAME(ProjectionXY);
  ORVANE_SAME(OpeningXY);
  ORVANE_SAME(ProjectionXZ);
  ORVANE_SAME(OpeningXZ);
  ORVANE_SAME(StarQuantity);
  ORVANE_SAME(StarKind);
  ORVANE_SAME(TrailExists);
  ORVANE_SAME(TrailLife);
  ORVANE_SAME(StarWeight);
  ORVANE_SAME(StarSpeed);
  ORVANE_SAME(StarResistance);
  ORVANE_SAME(StarSize);
  ORVANE_SAME(SpeedKind);
  ORVANE_SAME(EffectLength);
  ORVANE_SAME(MinStarLife);
  ORVANE_SAME(MaxStarLife);
  ORVANE_SAME(NextEffExists);
  ORVANE_SAME(NextEffCode);
  ORVANE_SAME(NextEffStart);
  ORVANE_SAME(NextParExists);
  ORVANE_SAME(NextParCode);
  ORVANE_SAME(NextParStart);
  ORVANE_SAME(ColorData);
  ORVANE_SAME(Definition.Code);
  ORVANE_SAME(Definition.Name);
  ORVANE_SAME(Definition.Active);
  ORVANE_SAME(Definition.Kind);
  ORVANE_SAME(Definition.DelayA);
  ORVANE_SAME(Definition.DelayB);
  ORVANE_SAME(Definition.EffectLength);
  ORVANE_SAME(Definition.Description);
  ORVANE_SAME(Definition.DeviceIcon);
  ORVANE_SAME(Definition.EffectIcon);
  ORVANE_SAME(Definition.Additional);
  ORVANE_SAME(Definition.Credits.Author);
  ORVANE_SAME(Definition.Credits.Company);
  ORVANE_SAME(Definition.Credits.Date);
  ORVANE_SAME(Definition.Credits.Comments);
  ORVANE_SAME(BestX);
  ORVANE_SAME(BestY);
  ORVANE_SAME(BestZ);
#undef ORVANE_SAME
}

std::string DeviceFileWith(int code, const std::string& moreLines, bool subDevice) {
  return "[ORVN]\r\nSignature=Device\r\n[Device]\r\nCode=" + std::to_string(code) +
         "\r\nKind=" + (subDevice ? "subdevice" : "device") + "\r\n" + moreLines;
}

}  // namespace orvane::testing
