#pragma once
// The cue table in the designer's words: fire and break times, the product instead of a
// bare code, the position, and coordinates in metres with one decimal. Edits are cue-list
// changes as the show window's undo history keeps them; a refusal names the table's row
// and the file's line.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/device_lookup.h"
#include "show/cue_edit.h"
#include "show/product_list.h"
#include "show/show_site.h"
#include "util/result.h"

namespace orvane {

enum class CueColumn { Fire, Break, Product, Position, X, Height, Z, Label, Module, Pin };
inline constexpr int kCueColumnCount = 10;

// Measured prefires by device code; nothing for a device not (yet) measured.
using MeasuredPrefire = std::function<std::optional<int64_t>(int32_t code)>;
// The module and pin a firing script would give the cue at an index that has none.
using AssignedAddress = std::function<std::optional<std::pair<int32_t, int32_t>>(size_t index)>;

struct CueTableContext {
  const ShowSite& Site;
  const ProductTable& Products;
  const DeviceRecords* Devices = nullptr;  // null: codes are not checked
  MeasuredPrefire Prefire;                 // may be empty: no measurements
  AssignedAddress Assigned = {};           // may be empty: no assignment known
};

// "Fire", "Break", "Product", "Position", "X (m)", "Height (m)", "Z (m)", "Label", "Module", "Pin".
const char* CueColumnHeader(CueColumn column);
// The edit's name in the undo history: "Set break" for breaks, "Edit cue" otherwise.
const char* CueColumnEditName(CueColumn column);
// Right-aligned columns: times and numbers.
bool CueColumnIsNumber(CueColumn column);

// The prefire a cue's break uses: its product's typed one, else the measured one, else 0.
int64_t CuePrefireMs(const Cue& cue, const CueTableContext& context);
inline int64_t CueBreakMs(const Cue& cue, const CueTableContext& context) {
  return cue.TimeMs + CuePrefireMs(cue, context);
}

// As the table shows it: times as m:ss.cc, the product's name, type and calibre (its code
// when it has no row), metres with one decimal (empty where the device's own start is used).
std::string CueColumnText(const Cue& cue, CueColumn column, const CueTableContext& context);
// As it is edited: times in seconds with all three decimals, the code, metres to the
// millimetre, so that an edit left as it is changes nothing.
std::string CueColumnEditText(const Cue& cue, CueColumn column, const CueTableContext& context);

// The cue at `index` with the column set from `text`: an empty change when it stays.
// Typing a break sets fire = break - prefire; naming a position clears x and z, and
// clearing it keeps the cue where the position was. A module or pin typed on a cue without
// an address takes the other from the assigned address; clearing either clears both.
Result<CueListChange> SetCueColumnChange(const std::vector<Cue>& cues, size_t index, CueColumn column,
                                         std::string_view text, const CueTableContext& context);

// The cue at `index` moved so that it breaks at `breakMs` (a marker dragged, maybe onto a
// beat); refused when it would fire before the show starts.
Result<CueListChange> MoveBreakChange(const std::vector<Cue>& cues, size_t index, int64_t breakMs,
                                      const CueTableContext& context);

}  // namespace orvane
