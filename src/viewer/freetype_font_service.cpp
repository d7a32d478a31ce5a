#include "viewer/freetype_font_service.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace orvane {

struct FreeTypeFontService::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Face() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

namespace {

struct FontFile {
  std::string path;
  int index = 0;
};

std::optional<FontFile> MatchFont(const std::string& family, bool bold) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return std::nullopt;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  std::optional<FontFile> found;
  if (match != nullptr) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      FcPatternGetInteger(match, FC_INDEX, 0, &index);
      found = FontFile{reinterpret_cast<const char*>(file), index};
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return found;
}

int32_t Pixels26_6(FT_Pos value) { return static_cast<int32_t>((value + 32) >> 6); }

}  // namespace

std::unique_ptr<FreeTypeFontService> FreeTypeFontService::OverlayFont() { return Open("Arial", true, 11); }

std::unique_ptr<FreeTypeFontService> FreeTypeFontService::Open(const std::string& family, bool bold, int pixel_height) {
  const auto file = MatchFont(family, bold);
  if (!file) return nullptr;
  auto face = std::make_unique<Face>();
  if (FT_Init_FreeType(&face->library) != 0) return nullptr;
  if (FT_New_Face(face->library, file->path.c_str(), file->index, &face->face) != 0) return nullptr;
  if (FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(pixel_height)) != 0) return nullptr;
  return std::unique_ptr<FreeTypeFontService>(new FreeTypeFontService(std::move(face), file->path));
}

FreeTypeFontService::FreeTypeFontService(std::unique_ptr<Face> face, std::string path)
    : face_(std::move(face)), path_(std::move(path)) {}

FreeTypeFontService::~FreeTypeFontService() = default;

std::optional<GlyphBitmap> FreeTypeFontService::Glyph(unsigned char character) {
  FT_Face f = face_->face;
  const FT_UInt index = FT_Get_Char_Index(f, character);
  if (FT_Load_Glyph(f, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
    return std::nullopt;
  }
  const FT_Bitmap& bitmap = f->glyph->bitmap;
  GlyphBitmap glyph;
  glyph.Width = static_cast<int32_t>(bitmap.width);
  glyph.Height = static_cast<int32_t>(bitmap.rows);
  glyph.Left = f->glyph->bitmap_left;
  glyph.Top = f->glyph->bitmap_top;
  glyph.Advance = Pixels26_6(f->glyph->advance.x);
  glyph.Bits.assign(static_cast<size_t>(glyph.Width) * static_cast<size_t>(glyph.Height), 0);
  for (int32_t row = 0; row < glyph.Height; ++row) {
    const unsigned char* line = bitmap.buffer + row * bitmap.pitch;
    for (int32_t col = 0; col < glyph.Width; ++col) {
      const bool on =
          bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((line[col / 8] >> (7 - col % 8)) & 1) != 0 : line[col] >= 128;
      glyph.Bits[static_cast<size_t>(row * glyph.Width + col)] = on ? 1 : 0;
    }
  }
  return glyph;
}

TextSize FreeTypeFontService::Extent(std::string_view text) {
  TextSize size;
  const FT_Size_Metrics& metrics = face_->face->size->metrics;
  size.Height = Pixels26_6(metrics.ascender) - Pixels26_6(metrics.descender);
  for (char c : OverlayText(text)) {
    const FT_UInt index = FT_Get_Char_Index(face_->face, static_cast<unsigned char>(c));
    if (FT_Load_Glyph(face_->face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) == 0) {
      size.Width += Pixels26_6(face_->face->glyph->advance.x);
    }
  }
  return size;
}

}  // namespace orvane
