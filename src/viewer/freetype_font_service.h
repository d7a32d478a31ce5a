#pragma once
// Headless glyph source: fontconfig resolves the face (so "Arial" becomes Liberation Sans),
// FreeType renders 1-bit glyphs at the requested pixel height.

#include <memory>
#include <string>

#include "viewer/font_service.h"

namespace orvane {

class FreeTypeFontService : public FontService {
 public:
  // Bold "Arial" at an 11-pixel character height, as the overlay font is.
  static std::unique_ptr<FreeTypeFontService> OverlayFont();
  // Nothing when fontconfig finds no face or FreeType cannot open it.
  static std::unique_ptr<FreeTypeFontService> Open(const std::string& family, bool bold, int pixel_height);

  ~FreeTypeFontService() override;
  std::optional<GlyphBitmap> Glyph(unsigned char character) override;
  TextSize Extent(std::string_view text) override;
  const std::string& FilePath() const { return path_; }

 private:
  struct Face;
  FreeTypeFontService(std::unique_ptr<Face> face, std::string path);
  std::unique_ptr<Face> face_;
  std::string path_;
};

}  // namespace orvane
