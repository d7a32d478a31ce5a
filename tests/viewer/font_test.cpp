// The headless overlay font and its display lists.

#include <gtest/gtest.h>

#include "gl_fixture.h"
#include "viewer/bitmap_font.h"
#include "viewer/freetype_font_service.h"
#include "viewer/gl_headers.h"

namespace orvane::testing {
namespace {

TEST(FreeTypeFont, ArialBoldResolvesToLiberationSans) {
  auto font = FreeTypeFontService::OverlayFont();
  ASSERT_NE(font, nullptr);
  EXPECT_NE(font->FilePath().find("LiberationSans-Bold"), std::string::npos) << font->FilePath();
  const auto h = font->Glyph('H');
  ASSERT_TRUE(h.has_value());
  // An 11-pixel character height puts a capital about 8 pixels tall, on the baseline.
  EXPECT_GE(h->Height, 7);
  EXPECT_LE(h->Height, 9);
  EXPECT_EQ(h->Top, h->Height);
  EXPECT_GT(h->Advance, h->Width / 2);
  int on = 0;
  for (uint8_t b : h->Bits) on += b;
  EXPECT_GT(on, h->Height * 2) << "two bold stems at least";
}

TEST(FreeTypeFont, ExtentSumsAdvancesAndMeasuresReplacementsAsShown) {
  auto font = FreeTypeFontService::OverlayFont();
  ASSERT_NE(font, nullptr);
  const int32_t h = font->Glyph('H')->Advance;
  EXPECT_EQ(font->Extent("HHH").Width, 3 * h);
  EXPECT_EQ(font->Extent("").Width, 0);
  EXPECT_GE(font->Extent("x").Height, 11);
  EXPECT_EQ(font->Extent("\xe9").Width, font->Extent("?").Width);
}

TEST(GlyphPacking, BottomRowFirstMostSignificantBitLeft) {
  GlyphBitmap g;
  g.Width = 9;
  g.Height = 2;
  g.Bits = {1, 0, 0, 0, 0, 0, 0, 0, 1,   // top row
            0, 1, 0, 0, 0, 0, 0, 0, 0};  // bottom row
  EXPECT_EQ(PackGlyphRows(g), (std::vector<uint8_t>{0x40, 0x00, 0x80, 0x80}));
  g.Bits.resize(3);  // too short for its size: drawn empty rather than read past the end
  EXPECT_EQ(PackGlyphRows(g), (std::vector<uint8_t>(4, 0)));
}

class FontPixels : public GlTest {};

TEST_F(FontPixels, TextIsDrawnAtTheRasterPositionInTheRasterColour) {
  auto service = FreeTypeFontService::OverlayFont();
  ASSERT_NE(service, nullptr);
  BitmapFont font;
  font.Build(*service);
  ASSERT_NE(font.FontBase(), 0u);
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kPanelWidth, 0, kPanelHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glColor3f(1, 1, 0);
  glRasterPos2i(20, 100);
  font.Draw("H");
  // The glyph sits right of x 20 and above the baseline at y 100 (row 223 from the top).
  int inside = 0, outside = 0;
  for (int32_t y = 0; y < kPanelHeight; ++y) {
    for (int32_t x = 0; x < kPanelWidth; ++x) {
      const uint32_t p = context_->PixelAtTopLeft(x, y);
      if (p == 0) continue;
      EXPECT_EQ(p, 0x00FFFFu);
      const bool in_box = x >= 20 && x < 30 && y <= kPanelHeight - 1 - 100 && y > kPanelHeight - 1 - 100 - 10;
      (in_box ? inside : outside)++;
    }
  }
  EXPECT_GT(inside, 10);
  EXPECT_EQ(outside, 0);
  font.Free();
  EXPECT_EQ(font.FontBase(), 0u);
}

}  // namespace
}  // namespace orvane::testing
