#include "effects/effect_colours.h"

#include <array>

namespace orvane {
namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// Saturated but never pure primaries: the additive sprites wash pure ones out.
constexpr std::array<NamedColour, 10> kColours = {{
    {"red", Rgb(255, 40, 30)},
    {"orange", Rgb(255, 130, 20)},
    {"yellow", Rgb(255, 235, 60)},
    {"gold", Rgb(255, 180, 70)},
    {"green", Rgb(60, 255, 80)},
    {"blue", Rgb(60, 100, 255)},
    {"purple", Rgb(170, 60, 255)},
    {"pink", Rgb(255, 110, 200)},
    {"white", Rgb(255, 255, 255)},
    {"silver", Rgb(215, 222, 240)},
}};

}  // namespace

std::span<const NamedColour> EffectColours() { return kColours; }

std::optional<NamedColour> EffectColourNamed(std::string_view word) {
  for (const NamedColour& colour : kColours)
    if (colour.Name == word) return colour;
  return std::nullopt;
}

}  // namespace orvane
