#pragma once
// The colour names a description may use and the star colour each stands for.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace orvane {

struct NamedColour {
  std::string_view Name;
  uint32_t Color;  // 0x00BBGGRR
};

std::span<const NamedColour> EffectColours();

// The colour of that name (lower case), or nothing.
std::optional<NamedColour> EffectColourNamed(std::string_view word);

}  // namespace orvane
