#include "show/cue_edit.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

#include "model/record_decimals.h"
#include "show/csv_text.h"
#include "show/cue_list.h"

namespace orvane {
namespace {

void NumberLines(std::vector<Cue>& cues) {
  for (size_t i = 0; i < cues.size(); ++i) cues[i].Line = CueFileLine(i);
}

const TBaseDevice* DeviceOfCode(const DeviceRecords& devices, int32_t code) {
  for (const auto& d : devices)
    if (d && d->Compiled && d->Compiled->Code == code) return d.get();
  return nullptr;
}

[[maybe_unused]] bool SortedByTime(const std::vector<Cue>& cues) {
  return std::is_sorted(cues.begin(), cues.end(), [](const Cue& a, const Cue& b) { return a.TimeMs < b.TimeMs; });
}

}  // namespace

void SortCuesByTime(std::vector<Cue>& cues) {
  std::stable_sort(cues.begin(), cues.end(), [](const Cue& a, const Cue& b) { return a.TimeMs < b.TimeMs; });
  NumberLines(cues);
}

void ApplyChange(std::vector<Cue>& cues, const CueListChange& change) {
  for (auto it = change.Removed.rbegin(); it != change.Removed.rend(); ++it) {
    assert(it->Index < cues.size());
    cues.erase(cues.begin() + static_cast<std::ptrdiff_t>(it->Index));
  }
  for (const PlacedCue& added : change.Added) {
    assert(added.Index <= cues.size());
    cues.insert(cues.begin() + static_cast<std::ptrdiff_t>(added.Index), added.Value);
  }
  assert(SortedByTime(cues));
  NumberLines(cues);
}

void RevertChange(std::vector<Cue>& cues, const CueListChange& change) {
  ApplyChange(cues, CueListChange{change.Added, change.Removed});
}

CueListChange MakeChange(const std::vector<Cue>& cues, std::vector<size_t> remove, std::vector<Cue> insert) {
  assert(SortedByTime(cues));
  std::sort(remove.begin(), remove.end());
  remove.erase(std::unique(remove.begin(), remove.end()), remove.end());
  remove.erase(std::remove_if(remove.begin(), remove.end(), [&](size_t i) { return i >= cues.size(); }), remove.end());
  CueListChange change;
  for (size_t i : remove) change.Removed.push_back({i, cues[i]});

  // The list after the removal, then each new cue after the cues of its time; the new
  // ones are tagged so their final places can be read off.
  struct Slot {
    const Cue* Value;
    bool New;
  };
  std::vector<Slot> after;
  after.reserve(cues.size() - remove.size() + insert.size());
  size_t next_removed = 0;
  for (size_t i = 0; i < cues.size(); ++i) {
    if (next_removed < remove.size() && remove[next_removed] == i) {
      ++next_removed;
      continue;
    }
    after.push_back({&cues[i], false});
  }
  std::stable_sort(insert.begin(), insert.end(), [](const Cue& a, const Cue& b) { return a.TimeMs < b.TimeMs; });
  for (const Cue& cue : insert) {
    const auto place = std::upper_bound(after.begin(), after.end(), cue.TimeMs,
                                        [](int64_t t, const Slot& s) { return t < s.Value->TimeMs; });
    after.insert(place, {&cue, true});
  }
  for (size_t i = 0; i < after.size(); ++i)
    if (after[i].New) change.Added.push_back({i, *after[i].Value});
  return change;
}

CueListChange AddCueChange(const std::vector<Cue>& cues, Cue cue) {
  cue.TimeMs = std::clamp<int64_t>(cue.TimeMs, 0, kMaxCueTimeMs);
  return MakeChange(cues, {}, {std::move(cue)});
}

CueListChange DeleteCuesChange(const std::vector<Cue>& cues, const std::vector<size_t>& indices) {
  return MakeChange(cues, indices, {});
}

CueListChange DuplicateCuesChange(const std::vector<Cue>& cues, const std::vector<size_t>& indices) {
  std::vector<size_t> sorted = indices;
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  std::vector<Cue> copies;
  for (size_t i : sorted)
    if (i < cues.size()) copies.push_back(cues[i]);
  return MakeChange(cues, {}, std::move(copies));
}

CueListChange MoveCueChange(const std::vector<Cue>& cues, size_t index, int64_t timeMs) {
  if (index >= cues.size()) return {};
  Cue moved = cues[index];
  moved.TimeMs = std::clamp<int64_t>(timeMs, 0, kMaxCueTimeMs);
  if (moved.TimeMs == cues[index].TimeMs) return {};
  return MakeChange(cues, {index}, {std::move(moved)});
}

std::string CueFieldText(const Cue& cue, CueField field) {
  if (field == CueField::Time) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(cue.TimeMs) / 1000.0);
    return text;
  }
  return CueFieldEditText(cue, field);
}

std::string CueFieldEditText(const Cue& cue, CueField field) {
  auto coordinate = [](const std::optional<float>& v) { return v ? Float32Text(*v) : std::string(); };
  switch (field) {
    case CueField::Time: return CueTimeText(cue.TimeMs);
    case CueField::Code: return std::to_string(cue.Code);
    case CueField::X: return coordinate(cue.X);
    case CueField::Y: return coordinate(cue.Y);
    case CueField::Z: return coordinate(cue.Z);
    case CueField::Label: return cue.Label;
  }
  return {};
}

Result<CueListChange> SetCueFieldChange(const std::vector<Cue>& cues, size_t index, CueField field,
                                        std::string_view text, const DeviceRecords* devices) {
  if (index >= cues.size()) return CueListChange{};
  const Cue& before = cues[index];
  // The cue as one line of cues.csv at its own line, so the reader's message names it.
  std::string csv = "time,code,x,y,z,label,position\n";
  csv.append(static_cast<size_t>(CueFileLine(index) - 2), '\n');
  for (int f = 0; f < kCueFieldCount; ++f) {
    const auto each = static_cast<CueField>(f);
    if (f > 0) csv += ',';
    csv += CsvField(each == field ? std::string(text) : CueFieldEditText(before, each));
  }
  csv += "," + CsvField(before.Position) + '\n';
  Result<std::vector<Cue>> read = ReadCueList(csv, kCueFileName, devices);
  if (!read) return read.Error();
  if (read.Value().size() != 1)
    return Fail(std::string(kCueFileName) + " line " + std::to_string(CueFileLine(index)) +
                ": the text holds more than one cue.");
  Cue after = std::move(read.Value().front());
  // Untouched fields keep their exact values (a position read back from text may differ
  // in the last bit only if the text had fewer digits than the float).
  after.Line = before.Line;
  if (field != CueField::Time) after.TimeMs = before.TimeMs;
  if (field != CueField::X) after.X = before.X;
  if (field != CueField::Y) after.Y = before.Y;
  if (field != CueField::Z) after.Z = before.Z;
  if (after == before) return CueListChange{};
  return MakeChange(cues, {index}, {std::move(after)});
}

bool CueDeviceMissing(const Cue& cue, const DeviceRecords& devices) {
  return DeviceOfCode(devices, cue.Code) == nullptr;
}

std::optional<uint32_t> CueMarkerColor(const Cue& cue, const DeviceRecords& devices) {
  const TBaseDevice* device = DeviceOfCode(devices, cue.Code);
  if (device == nullptr || device->ColorData.empty()) return std::nullopt;
  return device->ColorData.front().InitialColor;
}

}  // namespace orvane
