#pragma once
// Edits of a show's cue list, as the show window makes them. The list is kept sorted by
// time (equal times keep their order). Every edit is a CueListChange: the cues it takes
// out and the cues it puts in, with their places, so applying and reverting are exact
// inverses and an undo stack needs nothing else.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/device_lookup.h"
#include "show/cue.h"
#include "util/result.h"

namespace orvane {

// The table's columns, in order.
enum class CueField { Time, Code, X, Y, Z, Label };
inline constexpr int kCueFieldCount = 6;

struct PlacedCue {
  size_t Index = 0;
  Cue Value;
  bool operator==(const PlacedCue&) const = default;
};

struct CueListChange {
  std::vector<PlacedCue> Removed;  // places in the list before the change, ascending
  std::vector<PlacedCue> Added;    // places in the list after the change, ascending
  bool Empty() const { return Removed.empty() && Added.empty(); }
};

// Stable sort by time; numbers the cues' lines as cues.csv would hold them.
void SortCuesByTime(std::vector<Cue>& cues);
// The line cues.csv gives the cue at `index` (the header is line 1).
inline int CueFileLine(size_t index) { return static_cast<int>(index) + 2; }

void ApplyChange(std::vector<Cue>& cues, const CueListChange& change);
void RevertChange(std::vector<Cue>& cues, const CueListChange& change);

// Removes the cues at `remove` (any order, duplicates ignored) and inserts `insert` by
// time, each after the cues of its time. Nothing when both are empty.
CueListChange MakeChange(const std::vector<Cue>& cues, std::vector<size_t> remove, std::vector<Cue> insert);

CueListChange AddCueChange(const std::vector<Cue>& cues, Cue cue);
CueListChange DeleteCuesChange(const std::vector<Cue>& cues, const std::vector<size_t>& indices);
// Copies of the cues, each just after the cues of its time.
CueListChange DuplicateCuesChange(const std::vector<Cue>& cues, const std::vector<size_t>& indices);
// The cue at `index` to a new time (clamped to 0 … kMaxCueTimeMs); empty when it stays.
CueListChange MoveCueChange(const std::vector<Cue>& cues, size_t index, int64_t timeMs);

// A cue field as the table shows it: time with two decimals, a coordinate empty when the
// device's own is used.
std::string CueFieldText(const Cue& cue, CueField field);
// The field as it is edited: the time with all three decimals, so editing loses nothing.
std::string CueFieldEditText(const Cue& cue, CueField field);

// The field of the cue at `index` set from `text`, read exactly as a cues.csv line is,
// codes checked against `devices` (null: any code). The change is empty when the text gives
// the same cue; a refusal carries the cue-list reader's message.
Result<CueListChange> SetCueFieldChange(const std::vector<Cue>& cues, size_t index, CueField field,
                                        std::string_view text, const DeviceRecords* devices);

// Whether no device of `devices` has the cue's code: such cues are marked and refused at compile.
bool CueDeviceMissing(const Cue& cue, const DeviceRecords& devices);

// The colour a cue's marker takes: the first colour segment's initial colour (0x00BBGGRR)
// of its device; nothing when the device or its colours are missing.
std::optional<uint32_t> CueMarkerColor(const Cue& cue, const DeviceRecords& devices);

}  // namespace orvane
