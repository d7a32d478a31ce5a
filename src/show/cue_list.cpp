#include "show/cue_list.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/integer_text.h"
#include "model/record_decimals.h"
#include "show/csv_text.h"
#include "show/cue_address.h"
#include "util/rounding.h"

namespace orvane {
namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits with at most one "." and at least one digit: "12", "12.5", ".5", "12.".
std::optional<double> PlainSeconds(std::string_view text) {
  const size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if ((!whole.empty() && !AllDigits(whole)) || (!fraction.empty() && !AllDigits(fraction))) return std::nullopt;
  double value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

struct Columns {
  int Time = -1, Code = -1, X = -1, Y = -1, Z = -1, Label = -1, Position = -1, Module = -1, Pin = -1;
};

Columns FindColumns(const std::vector<std::string>& header) {
  Columns c;
  for (int i = 0; i < static_cast<int>(header.size()); ++i) {
    const std::string name = ColumnName(header[i]);
    // The first column of a name counts.
    int* slot = name == "time"       ? &c.Time
                : name == "code"     ? &c.Code
                : name == "x"        ? &c.X
                : name == "y"        ? &c.Y
                : name == "z"        ? &c.Z
                : name == "label"    ? &c.Label
                : name == "position" ? &c.Position
                : name == "module"   ? &c.Module
                : name == "pin"      ? &c.Pin
                                     : nullptr;
    if (slot != nullptr && *slot < 0) *slot = i;
  }
  return c;
}

class LineReader {
 public:
  LineReader(std::string_view fileName, const CsvRecord& record, const DeviceRecords* devices, const ShowSite* site)
      : fileName_(fileName), record_(record), devices_(devices), site_(site) {}

  std::string Field(int column) const {
    if (column < 0 || column >= static_cast<int>(record_.Fields.size())) return {};
    return record_.Fields[column];
  }

  std::optional<Cue> Read(const Columns& columns) {
    Cue cue;
    cue.Line = record_.Line;
    if (!ReadTime(TrimBlanks(Field(columns.Time)), cue) || !ReadCode(TrimBlanks(Field(columns.Code)), cue) ||
        !ReadPosition("x", Field(columns.X), cue.X) || !ReadPosition("y", Field(columns.Y), cue.Y) ||
        !ReadPosition("z", Field(columns.Z), cue.Z) || !ReadSitePosition(TrimBlanks(Field(columns.Position)), cue) ||
        !ReadAddress("module", TrimBlanks(Field(columns.Module)), cue.Module) ||
        !ReadAddress("pin", TrimBlanks(Field(columns.Pin)), cue.Pin))
      return std::nullopt;
    if (cue.Module.has_value() != cue.Pin.has_value()) {
      Fail(std::string(cue.Module ? "module is given without pin" : "pin is given without module"));
      return std::nullopt;
    }
    cue.Label = Field(columns.Label);
    return cue;
  }

  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& what) {
    error_ = std::string(fileName_) + " line " + std::to_string(record_.Line) + ": " + what + ".";
    return false;
  }

  bool ReadTime(std::string_view text, Cue& cue) {
    if (text.empty()) return Fail("time is empty");
    const std::optional<int64_t> ms = ParseCueTime(text);
    if (!ms) return Fail("time \"" + std::string(text) + "\" is not a time in seconds");
    if (*ms < 0) return Fail("time " + std::string(text) + " is negative");
    if (*ms > kMaxCueTimeMs)
      return Fail("time " + std::string(text) + " is at or after the end of the longest show (" +
                  std::to_string(kMaxShowSeconds) + " s): the cue would never fire");
    cue.TimeMs = *ms;
    return true;
  }

  bool ReadCode(std::string_view text, Cue& cue) {
    if (text.empty()) return Fail("code is empty");
    const std::optional<int32_t> code = ParseInteger(text);
    if (!code) return Fail("code \"" + std::string(text) + "\" is not a device code");
    if (devices_ != nullptr && !FindByCode(*devices_, *code))
      return Fail("no device has code " + std::to_string(*code));
    cue.Code = *code;
    return true;
  }

  bool ReadPosition(const char* name, const std::string& raw, std::optional<float>& out) {
    const std::string_view text = TrimBlanks(raw);
    if (text.empty()) return true;
    const std::optional<float> value = ReadFloat32(text);
    if (!value) return Fail(std::string(name) + " \"" + std::string(text) + "\" is not a number");
    if (!(std::fabs(static_cast<double>(*value)) <= kMaxCuePosition))
      return Fail(std::string(name) + " " + std::string(text) + " is outside the show's range (-10.922 to 10.922)");
    out = *value;
    return true;
  }

  bool ReadAddress(const char* name, std::string_view text, std::optional<int32_t>& out) {
    if (text.empty()) return true;
    const std::optional<int32_t> value = ParseCueAddress(text);
    if (!value)
      return Fail(std::string(name) + " \"" + std::string(text) + "\" is not a whole number from 0 to " +
                  std::to_string(kMaxCueAddress));
    out = *value;
    return true;
  }

  bool ReadSitePosition(std::string_view name, Cue& cue) {
    if (name.empty()) return true;
    const std::string quoted = "position \"" + std::string(name) + "\"";
    if (cue.X || cue.Z)
      return Fail(std::string(cue.X ? "x" : "z") + " is given with " + quoted + "; give one or the other");
    if (site_ != nullptr && FindSitePosition(*site_, name) == nullptr)
      return Fail(quoted + " is not a position of the site");
    cue.Position = name;
    return true;
  }

  std::string_view fileName_;
  const CsvRecord& record_;
  const DeviceRecords* devices_;
  const ShowSite* site_;
  std::string error_;
};

}  // namespace

std::optional<int64_t> ParseCueTime(std::string_view text) {
  text = TrimBlanks(text);
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  double seconds = 0;
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    const auto plain = PlainSeconds(text);
    if (!plain) return std::nullopt;
    seconds = *plain;
  } else {
    const std::string_view minutes = text.substr(0, colon);
    const std::string_view rest = text.substr(colon + 1);
    const auto s = PlainSeconds(rest);
    const size_t wholeDigits = rest.find('.') == std::string_view::npos ? rest.size() : rest.find('.');
    if (!AllDigits(minutes) || minutes.size() > 9 || !s || wholeDigits != 2 || *s >= 60) return std::nullopt;
    seconds = std::stod(std::string(minutes)) * 60 + *s;
  }
  // Weeks beyond any cue: refused here so that the rounding stays within its range.
  const double ms = seconds * 1000.0;
  if (!(ms < 2147483647.0)) return std::nullopt;
  const int64_t whole = RoundHalfEven(ms);
  return negative ? -whole : whole;
}

std::string CueTimeText(int64_t timeMs) {
  const bool negative = timeMs < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(timeMs) : static_cast<uint64_t>(timeMs);
  std::string fraction = std::to_string(magnitude % 1000);
  fraction.insert(0, 3 - fraction.size(), '0');
  return (negative ? "-" : "") + std::to_string(magnitude / 1000) + "." + fraction;
}

Result<std::vector<Cue>> ReadCueList(std::string_view text, std::string_view fileName, const DeviceRecords* devices,
                                     const ShowSite* site) {
  std::vector<Cue> cues;
  text = WithoutByteOrderMark(text);
  // The header, the cues and one more to tell that there are too many.
  const CsvSplit split = SplitCsv(text, kMaxCues + 2);
  // A fault in the text after the last whole record is reported after that record's faults.
  auto fail = [&](int line, const std::string& what) {
    return Fail(std::string(fileName) + " line " + std::to_string(line) + ": " + what + ".");
  };
  if (split.Records.empty()) {
    if (!split.Error.empty()) return fail(split.ErrorLine, split.Error);
    return fail(1, "the header line naming the columns is missing");
  }
  const CsvRecord& header = split.Records.front();
  const Columns columns = FindColumns(header.Fields);
  if (columns.Time < 0) return fail(header.Line, "the header has no \"time\" column");
  if (columns.Code < 0) return fail(header.Line, "the header has no \"code\" column");
  if (split.Records.size() > kMaxCues + 1)
    return fail(split.Records[kMaxCues + 1].Line, "the list holds more than " + std::to_string(kMaxCues) + " cues");
  for (size_t i = 1; i < split.Records.size(); ++i) {
    LineReader reader(fileName, split.Records[i], devices, site);
    std::optional<Cue> cue = reader.Read(columns);
    if (!cue) return Fail(reader.Error());
    cues.push_back(std::move(*cue));
  }
  if (!split.Error.empty()) return fail(split.ErrorLine, split.Error);
  return cues;
}

std::string CueListText(const std::vector<Cue>& cues) {
  // Lists without positions keep the columns older versions wrote.
  const bool positions = std::any_of(cues.begin(), cues.end(), [](const Cue& c) { return !c.Position.empty(); });
  const bool addresses = std::any_of(cues.begin(), cues.end(), [](const Cue& c) { return c.Module || c.Pin; });
  std::string text = "time,code,x,y,z,label";
  if (positions) text += ",position";
  text += addresses ? ",module,pin\n" : "\n";
  auto number = [](const std::optional<int32_t>& v) { return v ? std::to_string(*v) : std::string(); };
  auto coordinate = [](const std::optional<float>& v) { return v ? Float32Text(*v) : std::string(); };
  for (const Cue& cue : cues) {
    text += CueTimeText(cue.TimeMs) + "," + std::to_string(cue.Code) + "," + coordinate(cue.X) + "," +
            coordinate(cue.Y) + "," + coordinate(cue.Z) + "," + CsvField(cue.Label);
    if (positions) text += "," + CsvField(cue.Position);
    if (addresses) text += "," + number(cue.Module) + "," + number(cue.Pin);
    text += "\n";
  }
  return text;
}

}  // namespace orvane
