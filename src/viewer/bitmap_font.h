#pragma once
// The overlay font as 96 glBitmap display lists, one per character from 32 on.

#include <cstdint>
#include <string_view>

#include "viewer/font_service.h"

namespace orvane {

class BitmapFont {
 public:
  // Needs a current GL context; FontBase stays 0 when no lists could be made.
  void Build(FontService& font);
  void Free();
  // Draws at the current raster position with the current raster colour.
  void Draw(std::string_view text) const;
  uint32_t FontBase() const { return base_; }

 private:
  uint32_t base_ = 0;
};

// Packs a glyph the way glBitmap reads it: bottom row first, 8 pixels a byte, MSB first,
// rows padded to whole bytes.
std::vector<uint8_t> PackGlyphRows(const GlyphBitmap& glyph);

}  // namespace orvane
