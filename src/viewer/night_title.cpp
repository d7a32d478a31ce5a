#include "viewer/night_title.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace orvane {
namespace {

// Code points of UTF-8 text; a broken sequence reads as '?'.
std::vector<uint32_t> CodePoints(std::string_view text) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < text.size() && out.size() < kTitleMostCharacters;) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= text.size()) {
      out.push_back('?');
      ++i;
      continue;
    }
    uint32_t cp = extra == 0 ? lead : lead & (0x3Fu >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      ok = ok && (next & 0xC0) == 0x80;
      cp = (cp << 6) | (next & 0x3Fu);
    }
    out.push_back(ok ? cp : '?');
    i += ok ? static_cast<size_t>(extra) + 1 : 1;
  }
  return out;
}

// The font's glyphs take 8-bit codes: Latin-1, which is Unicode's first 256 code points.
unsigned char FontCode(uint32_t cp) {
  if (cp < 32 || (cp >= 127 && cp < 160) || cp > 255) return '?';
  return static_cast<unsigned char>(cp);
}

}  // namespace

float TitleOpacity(double seconds) {
  if (!(seconds >= 0) || seconds >= kTitleSeconds) return 0;
  const double in = seconds / kTitleFadeInSeconds;
  const double out = (kTitleSeconds - seconds) / kTitleFadeOutSeconds;
  return static_cast<float>(std::clamp(std::min(in, out), 0.0, 1.0));
}

NightTitle MakeTitleCard(std::string_view title, FontService& font) {
  struct Placed {
    GlyphBitmap Glyph;
    int32_t X = 0;
  };
  std::vector<Placed> glyphs;
  int32_t pen = 0, left = INT32_MAX, right = INT32_MIN, top = INT32_MIN, bottom = INT32_MAX;
  bool inked = false;
  for (uint32_t cp : CodePoints(title)) {
    std::optional<GlyphBitmap> glyph = font.Glyph(FontCode(cp));
    if (!glyph) glyph = font.Glyph('?');
    if (!glyph) continue;
    if (glyph->Width > 0 && glyph->Height > 0) {
      inked = true;
      left = std::min(left, pen + glyph->Left);
      right = std::max(right, pen + glyph->Left + glyph->Width);
      top = std::max(top, glyph->Top);
      bottom = std::min(bottom, glyph->Top - glyph->Height);
    }
    const int32_t advance = glyph->Advance;
    glyphs.push_back({std::move(*glyph), pen});
    pen += advance;
  }
  NightTitle card;
  if (!inked) return card;
  const int32_t n = kTitleOversampling;
  // Whole cells of n x n, with a cell of room on each side for the filtering.
  const int32_t wide = (right - left + n - 1) / n + 2, high = (top - bottom + n - 1) / n + 2;
  std::vector<uint16_t> ink(static_cast<size_t>(wide) * static_cast<size_t>(high), 0);
  for (const Placed& p : glyphs) {
    const GlyphBitmap& g = p.Glyph;
    for (int32_t y = 0; y < g.Height; ++y) {
      for (int32_t x = 0; x < g.Width; ++x) {
        if (g.Bits[static_cast<size_t>(y) * static_cast<size_t>(g.Width) + static_cast<size_t>(x)] == 0) continue;
        const int32_t column = p.X + g.Left + x - left + n, row = top - g.Top + y + n;
        ++ink[static_cast<size_t>(row / n) * static_cast<size_t>(wide) + static_cast<size_t>(column / n)];
      }
    }
  }
  card.Width = wide;
  card.Height = high;
  card.Coverage.resize(ink.size());
  for (size_t i = 0; i < ink.size(); ++i) {
    card.Coverage[i] = static_cast<uint8_t>(std::min<int>(255, (ink[i] * 255 + n * n / 2) / (n * n)));
  }
  return card;
}

}  // namespace orvane
