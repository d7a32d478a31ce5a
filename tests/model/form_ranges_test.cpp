// The window's ranges as a check on records made elsewhere.

#include <gtest/gtest.h>

#include <functional>

#include "model/color_segment.h"
#include "model/form_ranges.h"
#include "support/form_device.h"

namespace orvane {
namespace {

TEST(FormRanges, NamesTheFirstFieldTheWindowCouldNotHaveSet) {
  const TBaseDevice ok = testing::FormDevice(5);
  ASSERT_EQ(OutsideFormRanges(ok), std::nullopt);
  const struct {
    std::function<void(TBaseDevice&)> Change;
    const char* Message;
  } cases[] = {
      {[](TBaseDevice& d) { d.ProjectionXY = 361; }, "ProjectionXY 361 is outside 0 to 360"},
      {[](TBaseDevice& d) { d.OpeningXZ = 0; }, "OpeningXZ 0 is outside 1 to 360"},
      {[](TBaseDevice& d) { d.StarQuantity = 0; }, "StarQuantity 0 is not above 0"},
      {[](TBaseDevice& d) { d.StarKind = StarKind::None; }, "StarKind is neither"},
      {[](TBaseDevice& d) {
         d.StarKind = StarKind::Progressive;
         d.SpeedKind = SpeedKind::Homogeneous;
       },
       "SpeedKind is not one the form allows"},
      {[](TBaseDevice& d) { d.TrailLife = 101; }, "TrailLife 101 is outside 0 to 100"},
      {[](TBaseDevice& d) { d.StarWeight = -101; }, "StarWeight -101 is outside -100 to 100"},
      {[](TBaseDevice& d) { d.StarSpeed = 120; }, "StarSpeed 120 is outside 0 to 100"},
      {[](TBaseDevice& d) { d.StarResistance = 0; }, "StarResistance 0 is outside 1 to 100"},
      {[](TBaseDevice& d) { d.StarSize = 4; }, "StarSize 4 is outside 5 to 30"},
      {[](TBaseDevice& d) { d.EffectLength = 0; }, "EffectLength 0 is not above 0"},
      {[](TBaseDevice& d) { d.MaxStarLife = 200; }, "MaxStarLife 200 is outside 0 to 100"},
      {[](TBaseDevice& d) { d.NextParStart = -1; }, "NextParStart -1 is outside 0 to 100"},
      {[](TBaseDevice& d) { d.NextEffCode = -4; }, "a chained code is below 0"},
      {[](TBaseDevice& d) { d.ColorData.assign(6, NewColorSegment(0, 100, 0, 1, 1)); }, "6 colour segments"},
      {[](TBaseDevice& d) { d.ColorData = {NewColorSegment(0, 150, 0, 1, 1)}; }, "a colour segment's end 150"},
  };
  for (const auto& c : cases) {
    TBaseDevice d = ok;
    c.Change(d);
    const std::optional<std::string> outside = OutsideFormRanges(d);
    ASSERT_TRUE(outside.has_value()) << c.Message;
    EXPECT_NE(outside->find(c.Message), std::string::npos) << *outside;
  }
}

}  // namespace
}  // namespace orvane
