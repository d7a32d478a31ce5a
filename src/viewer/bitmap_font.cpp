#include "viewer/bitmap_font.h"

#include <string>

#include "viewer/gl_headers.h"

namespace orvane {

std::vector<uint8_t> PackGlyphRows(const GlyphBitmap& glyph) {
  const int32_t row_bytes = (glyph.Width + 7) / 8;
  std::vector<uint8_t> packed(static_cast<size_t>(row_bytes) * static_cast<size_t>(glyph.Height), 0);
  if (glyph.Bits.size() < static_cast<size_t>(glyph.Width) * static_cast<size_t>(glyph.Height)) {
    return packed;
  }
  for (int32_t row = 0; row < glyph.Height; ++row) {
    const int32_t gl_row = glyph.Height - 1 - row;
    for (int32_t col = 0; col < glyph.Width; ++col) {
      if (glyph.Bits[static_cast<size_t>(row * glyph.Width + col)] == 0) continue;
      packed[static_cast<size_t>(gl_row * row_bytes + col / 8)] |= static_cast<uint8_t>(0x80 >> (col % 8));
    }
  }
  return packed;
}

void BitmapFont::Build(FontService& font) {
  base_ = glGenLists(kFontCharCount);
  if (base_ == 0) return;
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int i = 0; i < kFontCharCount; ++i) {
    const auto glyph = font.Glyph(static_cast<unsigned char>(kFirstFontChar + i));
    glNewList(base_ + static_cast<GLuint>(i), GL_COMPILE);
    if (glyph) {
      const std::vector<uint8_t> rows = PackGlyphRows(*glyph);
      glBitmap(glyph->Width, glyph->Height, static_cast<GLfloat>(-glyph->Left),
               static_cast<GLfloat>(glyph->Height - glyph->Top), static_cast<GLfloat>(glyph->Advance), 0,
               rows.empty() ? nullptr : rows.data());
    }
    glEndList();
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void BitmapFont::Free() {
  if (base_ != 0) glDeleteLists(base_, kFontCharCount);
  base_ = 0;
}

void BitmapFont::Draw(std::string_view text) const {
  if (base_ == 0 || text.empty()) return;
  const std::string shown = OverlayText(text);
  glPushAttrib(GL_LIST_BIT);
  glListBase(base_ - kFirstFontChar);
  glCallLists(static_cast<GLsizei>(shown.size()), GL_UNSIGNED_BYTE, shown.data());
  glPopAttrib();
}

}  // namespace orvane
