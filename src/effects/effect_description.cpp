#include "effects/effect_description.h"

namespace orvane {

bool ColourGroup::operator==(const ColourGroup& other) const {
  auto same = [](const NamedColour& a, const NamedColour& b) { return a.Name == b.Name; };
  if (!same(First, other.First) || Then.has_value() != other.Then.has_value()) return false;
  return !Then || same(*Then, *other.Then);
}

std::string CalibreNumberText(int calibreTenths) {
  std::string text = std::to_string(calibreTenths / 10);
  if (calibreTenths % 10 != 0) text += "." + std::to_string(calibreTenths % 10);
  return text;
}

std::string CalibreText(int calibreTenths) { return CalibreNumberText(calibreTenths) + "mm"; }

namespace {

std::string GroupText(const ColourGroup& group) {
  std::string text(group.First.Name);
  if (group.Then) text += " to " + std::string(group.Then->Name);
  return text;
}

std::string JoinedColours(const EffectDescription& d, std::string_view separator) {
  std::string text;
  for (const ColourGroup& group : d.Colours) {
    if (!text.empty()) text += separator;
    text += GroupText(group);
  }
  return text;
}

}  // namespace

std::string DescriptionText(const EffectDescription& d) {
  std::string text = CalibreText(d.CalibreTenths);
  if (d.Dense) text += " dense";
  text += " " + JoinedColours(d, " and ");
  if (d.BurstType() == EffectType::kRing && d.Plane == RingPlane::kHorizontal) text += " horizontal";
  if (d.Type == EffectType::kCake) text += " " + std::string(EffectTypeName(d.ShotType));
  text += " " + std::string(EffectTypeName(d.Type));
  if (d.Type == EffectType::kCake) text += " " + std::to_string(d.Shots) + " shots";
  if (d.Trails) text += " with trails";
  return text;
}

std::string ProductColoursText(const EffectDescription& d) { return JoinedColours(d, "+"); }

NamedColour DefaultColour(EffectType type) {
  switch (type) {
    case EffectType::kPeony: return *EffectColourNamed("red");
    case EffectType::kRing: return *EffectColourNamed("green");
    case EffectType::kCrossette:
    case EffectType::kMine: return *EffectColourNamed("silver");
    case EffectType::kStrobe: return *EffectColourNamed("white");
    default: return *EffectColourNamed("gold");
  }
}

}  // namespace orvane
