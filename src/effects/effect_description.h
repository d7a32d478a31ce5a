#pragma once
// What a short description ("100mm gold willow") says: calibre, colours, type and the
// modifiers the recipes support. ParseEffectDescription reads one; DescriptionText writes
// the normalised form, which reads back to the same description.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "effects/effect_colours.h"
#include "effects/effect_type.h"
#include "util/result.h"

namespace orvane {

// Shells within this range keep inside the show file's reach at 20 m per unit.
inline constexpr int kMinCalibreTenths = 200;   // 20 mm
inline constexpr int kMaxCalibreTenths = 1500;  // 150 mm
// Trade sizes: a 3-inch shell is a 75 mm shell.
inline constexpr int kTenthsPerInch = 250;

inline constexpr int kMinCakeShots = 2;
inline constexpr int kMaxCakeShots = 100;
inline constexpr int kDefaultCakeShots = 10;
// Each group is a device of its own.
inline constexpr size_t kMaxColourGroups = 3;

// One device's colour: a colour, or a change from the first to the second.
struct ColourGroup {
  NamedColour First;
  std::optional<NamedColour> Then;
  bool operator==(const ColourGroup& other) const;
};

enum class RingPlane { kVertical, kHorizontal };

struct EffectDescription {
  int CalibreTenths = 1000;  // tenths of a millimetre
  EffectType Type = EffectType::kPeony;
  // A cake's shots; Type is then kCake and ShotType an aerial shell.
  EffectType ShotType = EffectType::kPeony;
  int Shots = 0;                     // cakes only
  std::vector<ColourGroup> Colours;  // at least one
  bool Trails = false;               // "with trails" on stars that have none of their own
  bool Dense = false;                // half as many stars again
  RingPlane Plane = RingPlane::kVertical;

  // The type whose stars burst: the shot type of a cake, else the type.
  EffectType BurstType() const { return Type == EffectType::kCake ? ShotType : Type; }
  double CalibreMm() const { return CalibreTenths / 10.0; }
  bool operator==(const EffectDescription&) const = default;
};

// The normalised description, the product's name: "100mm gold willow",
// "30mm red and green peony cake 10 shots".
std::string DescriptionText(const EffectDescription& description);

// The products.csv colours: " to " within a change, "+" between devices.
std::string ProductColoursText(const EffectDescription& description);

// "75mm", "62.5mm"; the number alone: "75", "62.5".
std::string CalibreText(int calibreTenths);
std::string CalibreNumberText(int calibreTenths);

// Reads a description; a refusal names the word it could not place and what it expected.
Result<EffectDescription> ParseEffectDescription(std::string_view text);

// The colour a type's stars have when the description names none.
NamedColour DefaultColour(EffectType type);

}  // namespace orvane
