#pragma once
// Where the overlay font's glyphs come from: the Qt window rasterises them with Qt, headless
// programs with FreeType. Either way "Arial" bold at an 11-pixel character height.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// One glyph as a 1-bit picture: Bits holds Width x Height bytes (0 or 1), top row first.
struct GlyphBitmap {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Left = 0;     // pen position to the picture's left edge
  int32_t Top = 0;      // baseline to the picture's top row (up is positive)
  int32_t Advance = 0;  // pen movement in pixels
  std::vector<uint8_t> Bits;
};

struct TextSize {
  int32_t Width = 0;
  int32_t Height = 0;
};

class FontService {
 public:
  virtual ~FontService() = default;
  // Nothing when the font has no glyph for the character.
  virtual std::optional<GlyphBitmap> Glyph(unsigned char character) = 0;
  // Width and height in pixels of a line of text in this font.
  virtual TextSize Extent(std::string_view text) = 0;
};

// The overlay font covers characters 32 ... 127; anything else is shown as '?'.
inline constexpr unsigned char kFirstFontChar = 32;
inline constexpr int kFontCharCount = 96;
inline constexpr char kReplacementChar = '?';

std::string OverlayText(std::string_view text);

}  // namespace orvane
