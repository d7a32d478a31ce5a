#pragma once
// The overlay font's glyphs rasterised by Qt: "Arial" (Liberation Sans through fontconfig)
// bold at an 11-pixel character height, one bit per pixel.

#include <QFont>
#include <QFontMetrics>

#include "viewer/font_service.h"

namespace orvane {

class QtFontService : public FontService {
 public:
  QtFontService();
  std::optional<GlyphBitmap> Glyph(unsigned char character) override;
  TextSize Extent(std::string_view text) override;
  const QFont& Font() const { return font_; }

 private:
  QFont font_;
  QFontMetrics metrics_;
};

}  // namespace orvane
