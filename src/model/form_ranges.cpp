#include "model/form_ranges.h"

#include "model/color_editor.h"

namespace orvane {
namespace {

std::optional<std::string> Outside(const char* field, int value, TrackRange range) {
  if (range.Holds(value)) return std::nullopt;
  return std::string(field) + " " + std::to_string(value) + " is outside " + std::to_string(range.Min) + " to " +
         std::to_string(range.Max);
}

std::optional<std::string> NotPositive(const char* field, long long value) {
  if (value > 0) return std::nullopt;
  return std::string(field) + " " + std::to_string(value) + " is not above 0";
}

}  // namespace

std::optional<std::string> OutsideFormRanges(const TBaseDevice& d) {
  const std::optional<std::string> checks[] = {
      Outside("ProjectionXY", d.ProjectionXY, kProjectionRange),
      Outside("OpeningXY", d.OpeningXY, kOpeningRange),
      Outside("ProjectionXZ", d.ProjectionXZ, kProjectionRange),
      Outside("OpeningXZ", d.OpeningXZ, kOpeningRange),
      NotPositive("StarQuantity", d.StarQuantity),
      d.StarKind == StarKind::Progressive || d.StarKind == StarKind::Explosive
          ? std::nullopt
          : std::optional<std::string>("StarKind is neither progressive nor explosive"),
      // The form forces random speeds on progressive devices.
      d.SpeedKind == SpeedKind::Random || (d.SpeedKind == SpeedKind::Homogeneous && d.StarKind != StarKind::Progressive)
          ? std::nullopt
          : std::optional<std::string>("SpeedKind is not one the form allows for this star kind"),
      Outside("TrailLife", d.TrailLife, kTrailRange),
      Outside("StarWeight", d.StarWeight, kWeightRange),
      Outside("StarSpeed", d.StarSpeed, kSpeedRange),
      Outside("StarResistance", d.StarResistance, kResistanceRange),
      Outside("StarSize", d.StarSize, kSizeRange),
      NotPositive("EffectLength", d.EffectLength),
      Outside("MinStarLife", d.MinStarLife, kLifeRange),
      Outside("MaxStarLife", d.MaxStarLife, kLifeRange),
      Outside("NextEffStart", d.NextEffStart, kChainStartRange),
      Outside("NextParStart", d.NextParStart, kChainStartRange),
      d.NextEffCode >= 0 && d.NextParCode >= 0 ? std::nullopt : std::optional<std::string>("a chained code is below 0"),
      d.Definition.Code >= 0 ? std::nullopt : std::optional<std::string>("the code is below 0"),
      d.ColorData.size() <= kMaxColorSegments
          ? std::nullopt
          : std::optional<std::string>(std::to_string(d.ColorData.size()) + " colour segments are more than " +
                                       std::to_string(kMaxColorSegments)),
  };
  for (const auto& check : checks)
    if (check) return check;
  for (const ColorSegment& segment : d.ColorData) {
    if (auto bad = Outside("a colour segment's start", segment.InitialPos, kLifeRange)) return bad;
    if (auto bad = Outside("a colour segment's end", segment.FinalPos, kLifeRange)) return bad;
  }
  return std::nullopt;
}

}  // namespace orvane
