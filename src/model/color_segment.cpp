#include "model/color_segment.h"

namespace orvane {

std::array<uint8_t, 3> ColorBytes(uint32_t color) {
  return {static_cast<uint8_t>(color & 0xFF), static_cast<uint8_t>((color >> 8) & 0xFF),
          static_cast<uint8_t>((color >> 16) & 0xFF)};
}

ColorSegment NewColorSegment(uint8_t initialPos, uint8_t finalPos, uint8_t flags, uint32_t initialColor,
                             uint32_t finalColor) {
  ColorSegment s;
  s.InitialPos = initialPos;
  s.FinalPos = finalPos;
  s.Flags = flags;
  s.InitialColor = initialColor;
  s.FinalColor = finalColor;
  s.InitialRGB = ColorBytes(initialColor);
  s.FinalRGB = ColorBytes(finalColor);
  // An empty span gives an infinite or NaN rate; FrameColorAt's clamp absorbs it.
  const double span = static_cast<double>(static_cast<int>(finalPos) - static_cast<int>(initialPos)) / 100.0;
  for (int ch = 0; ch < 3; ++ch) {
    const double diff = static_cast<double>(static_cast<int>(s.FinalRGB[ch]) - static_cast<int>(s.InitialRGB[ch]));
    s.ColorRate[ch] = static_cast<float>(diff / span);
  }
  return s;
}

}  // namespace orvane
