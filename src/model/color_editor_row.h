#pragma once
// One row of the colour editor's list: the five stored values of a segment, and the
// texts the row shows. The editor never fills the derived fields; Accept does.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

struct ColorRow {
  uint8_t InitialPos = 0;
  uint8_t FinalPos = 0;
  uint8_t Flags = 0;
  uint32_t InitialColor = 0;  // 0x00BBGGRR
  uint32_t FinalColor = 0;    // 0x00BBGGRR

  bool operator==(const ColorRow&) const = default;
};

// The caption and sub-items of a row. Sub-items 4 and 5 stay empty (the colour cells are
// drawn); 6 and 7 hold the colour texts, which no column shows.
struct ColorRowTexts {
  std::string Caption;
  std::array<std::string, 8> SubItems;
};

inline constexpr int kInitialColorSubItem = 6;
inline constexpr int kFinalColorSubItem = 7;

ColorRowTexts RowTexts(const ColorRow& row);

// "si" or "no".
std::string FlagText(bool set);

// A standard colour's name ("Red", "Silver"...), otherwise "$00BBGGRR".
std::string ColorText(uint32_t color);
// The inverse of ColorText; nothing for a text it does not know.
std::optional<uint32_t> ColorFromText(std::string_view text);

// A colour cell's rectangle, right and bottom exclusive: 6 px in from the column's left,
// 12 px narrower than the column, 2 px below the row's top and 3 px above its exclusive
// bottom.
struct CellRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};
CellRect ColorCellRect(int columnLeft, int columnWidth, int rowTop, int rowBottom);

}  // namespace orvane
