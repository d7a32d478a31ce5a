#include "effects/effect_type.h"

#include <cassert>

namespace orvane {
namespace {

struct TypeFacts {
  EffectType Type;
  std::string_view Name;
  std::string_view ProductType;
  bool Aerial;
  bool Trails;
  bool Groups;
};

// clang-format off
constexpr TypeFacts kFacts[] = {
    {EffectType::kPeony,         "peony",         "shell",    true,  false, true},
    {EffectType::kChrysanthemum, "chrysanthemum", "shell",    true,  true,  true},
    {EffectType::kWillow,        "willow",        "shell",    true,  true,  true},
    {EffectType::kPalm,          "palm",          "shell",    true,  true,  true},
    {EffectType::kRing,          "ring",          "shell",    true,  false, false},
    {EffectType::kCrossette,     "crossette",     "shell",    true,  true,  false},
    {EffectType::kStrobe,        "strobe",        "shell",    true,  false, true},
    {EffectType::kCrackle,       "crackle",       "shell",    true,  false, true},
    {EffectType::kComet,         "comet",         "comet",    false, true,  false},
    {EffectType::kMine,          "mine",          "mine",     false, false, true},
    {EffectType::kFountain,      "fountain",      "fountain", false, false, false},
    {EffectType::kCake,          "cake",          "cake",     false, false, false},
};
// clang-format on
static_assert(std::size(kFacts) == kEffectTypes.size());

const TypeFacts& FactsOf(EffectType type) {
  const TypeFacts& facts = kFacts[static_cast<size_t>(type)];
  assert(facts.Type == type);
  return facts;
}

}  // namespace

std::string_view EffectTypeName(EffectType type) { return FactsOf(type).Name; }

std::optional<EffectType> EffectTypeNamed(std::string_view word) {
  for (const TypeFacts& facts : kFacts)
    if (facts.Name == word) return facts.Type;
  return std::nullopt;
}

std::string_view ProductTypeName(EffectType type) { return FactsOf(type).ProductType; }

bool IsAerialShell(EffectType type) { return FactsOf(type).Aerial; }

bool CanBeCakeShot(EffectType type) { return IsAerialShell(type); }

bool AlwaysTrails(EffectType type) { return FactsOf(type).Trails; }

bool TakesColourGroups(EffectType type) { return FactsOf(type).Groups; }

}  // namespace orvane
