#pragma once
// The kinds of effect a description can name, and what each is as a product.

#include <array>
#include <optional>
#include <string_view>

namespace orvane {

enum class EffectType {
  kPeony,
  kChrysanthemum,
  kWillow,
  kPalm,
  kRing,
  kCrossette,
  kStrobe,
  kCrackle,
  kComet,
  kMine,
  kFountain,
  kCake,
};

inline constexpr std::array kEffectTypes = {
    EffectType::kPeony, EffectType::kChrysanthemum, EffectType::kWillow,   EffectType::kPalm,
    EffectType::kRing,  EffectType::kCrossette,     EffectType::kStrobe,   EffectType::kCrackle,
    EffectType::kComet, EffectType::kMine,          EffectType::kFountain, EffectType::kCake,
};

// The word a description uses ("willow").
std::string_view EffectTypeName(EffectType type);
std::optional<EffectType> EffectTypeNamed(std::string_view word);

// The products.csv type: shell, comet, mine, cake or fountain.
std::string_view ProductTypeName(EffectType type);

// A burst high in the air after a lift, as opposed to an effect from the ground.
bool IsAerialShell(EffectType type);

// Types a cake's shots can be: the aerial shells.
bool CanBeCakeShot(EffectType type);

// Stars of these types leave trails without being asked to.
bool AlwaysTrails(EffectType type);

// Types built around one star device, which can split into several colour groups.
bool TakesColourGroups(EffectType type);

}  // namespace orvane
