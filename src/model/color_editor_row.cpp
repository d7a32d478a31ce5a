#include "model/color_editor_row.h"

#include <cctype>
#include <cstdio>

#include "model/color_segment.h"

namespace orvane {
namespace {

struct NamedColor {
  const char* Name;
  uint32_t Color;
};

// The toolkit's standard colours, 0x00BBGGRR.
constexpr NamedColor kStandardColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},     {"Green", 0x008000},   {"Olive", 0x008080},   {"Navy", 0x800000},
    {"Purple", 0x800080}, {"Teal", 0x808000},       {"Gray", 0x808080},    {"Silver", 0xC0C0C0},  {"Red", 0x0000FF},
    {"Lime", 0x00FF00},   {"Yellow", 0x00FFFF},     {"Blue", 0xFF0000},    {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF},  {"MoneyGreen", 0xC0DCC0}, {"SkyBlue", 0xF0CAA6}, {"Cream", 0xF0FBFF},   {"MedGray", 0xA4A0A0},
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::optional<uint32_t> HexColor(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    const int lower = std::tolower(static_cast<unsigned char>(c));
    int digit = 0;
    if (lower >= '0' && lower <= '9') {
      digit = lower - '0';
    } else if (lower >= 'a' && lower <= 'f') {
      digit = lower - 'a' + 10;
    } else {
      return std::nullopt;
    }
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return value;
}

}  // namespace

std::string FlagText(bool set) { return set ? "si" : "no"; }

std::string ColorText(uint32_t color) {
  for (const NamedColor& named : kStandardColors) {
    if (named.Color == color) return named.Name;
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "$%08X", static_cast<unsigned>(color));
  return hex;
}

std::optional<uint32_t> ColorFromText(std::string_view text) {
  if (!text.empty() && text.front() == '$') return HexColor(text.substr(1));
  for (const NamedColor& named : kStandardColors) {
    if (SameIgnoringCase(text, named.Name)) return named.Color;
  }
  return std::nullopt;
}

ColorRowTexts RowTexts(const ColorRow& row) {
  ColorRowTexts t;
  t.Caption = std::to_string(row.InitialPos);
  t.SubItems[0] = std::to_string(row.FinalPos);
  t.SubItems[1] = FlagText((row.Flags & kFadeOut) != 0);
  t.SubItems[2] = FlagText((row.Flags & kMixColor) != 0);
  t.SubItems[3] = FlagText((row.Flags & kBlink) != 0);
  t.SubItems[kInitialColorSubItem] = ColorText(row.InitialColor);
  t.SubItems[kFinalColorSubItem] = ColorText(row.FinalColor);
  return t;
}

CellRect ColorCellRect(int columnLeft, int columnWidth, int rowTop, int rowBottom) {
  const int left = columnLeft + 6;
  return {left, rowTop + 2, left + columnWidth - 12, rowBottom - 3};
}

}  // namespace orvane
