#pragma once
// One colour-and-effect segment of a star's life. Segments are plain values: they are
// copied, never shared, and always made through NewColorSegment so that the derived
// fields match the stored ones.

#include <array>
#include <cstdint>
#include <vector>

namespace orvane {

inline constexpr uint8_t kFadeOut = 1;
inline constexpr uint8_t kMixColor = 2;
inline constexpr uint8_t kBlink = 4;

struct ColorSegment {
  uint8_t InitialPos = 0;     // percent of the star's life
  uint8_t FinalPos = 0;       // percent of the star's life
  uint8_t Flags = 0;          // kFadeOut | kMixColor | kBlink
  uint32_t InitialColor = 0;  // 0x00BBGGRR
  uint32_t FinalColor = 0;    // 0x00BBGGRR
  // Derived by NewColorSegment.
  std::array<uint8_t, 3> InitialRGB{};
  std::array<uint8_t, 3> FinalRGB{};
  std::array<float, 3> ColorRate{};  // colour units per whole star life, per channel

  bool operator==(const ColorSegment&) const = default;
};

using SegmentList = std::vector<ColorSegment>;

ColorSegment NewColorSegment(uint8_t initialPos, uint8_t finalPos, uint8_t flags, uint32_t initialColor,
                             uint32_t finalColor);

// Red, green and blue bytes of a 0x00BBGGRR colour.
std::array<uint8_t, 3> ColorBytes(uint32_t color);

}  // namespace orvane
