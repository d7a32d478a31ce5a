#include "project/firing_script_import.h"

#include <algorithm>
#include <cmath>

#include "model/integer_text.h"
#include "model/record_decimals.h"
#include "project/script_time.h"
#include "show/csv_text.h"
#include "show/cue_address.h"
#include "show/cue_edit.h"
#include "show/cue_list.h"

namespace orvane {
namespace {

bool HasField(const FiringProfile& profile, ScriptField field) {
  return std::any_of(profile.Columns.begin(), profile.Columns.end(),
                     [&](const ScriptColumn& c) { return c.Field == field; });
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | byte >> 6);
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

class RowReader {
 public:
  RowReader(std::string_view fileName, int line, const FiringProfile& profile)
      : fileName_(fileName), line_(line), profile_(profile) {}

  Result<Cue> Read(const std::vector<std::string>& fields) {
    Cue cue;
    for (size_t c = 0; c < profile_.Columns.size(); ++c) {
      const std::string& raw = c < fields.size() ? fields[c] : empty_;
      if (!ReadField(profile_.Columns[c].Field, raw, cue)) return Fail(error_);
    }
    if (cue.Module.has_value() != cue.Pin.has_value())
      return Fail(Where(cue.Module ? "a module without a pin" : "a pin without a module"));
    if (!cue.Position.empty() && (cue.X || cue.Z)) return Fail(Where("both a position and x or z"));
    return cue;
  }

 private:
  std::string Where(const std::string& what) const {
    return std::string(fileName_) + " line " + std::to_string(line_) + ": " + what + ".";
  }
  bool Refuse(ScriptField field, std::string_view text, const std::string& what) {
    error_ = Where(std::string(ScriptFieldName(field)) + " \"" + std::string(text.substr(0, 40)) + "\" " + what);
    return false;
  }

  bool ReadField(ScriptField field, const std::string& raw, Cue& cue) {
    const std::string_view text = TrimBlanks(raw);
    switch (field) {
      case ScriptField::kIgnitionTime: {
        const std::optional<int64_t> ms = ParseScriptTime(text, profile_);
        if (!ms || *ms < 0 || *ms > kMaxCueTimeMs) return Refuse(field, text, "is not a time from 0 to a day");
        cue.TimeMs = *ms;
        return true;
      }
      case ScriptField::kCode: {
        const std::optional<int32_t> code = ParseInteger(text);
        if (!code) return Refuse(field, text, "is not a device code");
        cue.Code = *code;
        return true;
      }
      case ScriptField::kModule:
      case ScriptField::kPin: return Address(field, text, field == ScriptField::kModule ? cue.Module : cue.Pin);
      case ScriptField::kX:
      case ScriptField::kY:
      case ScriptField::kZ:
        return Coordinate(field, text, field == ScriptField::kX ? cue.X : field == ScriptField::kY ? cue.Y : cue.Z);
      case ScriptField::kPosition: cue.Position = text; return true;
      case ScriptField::kLabel: cue.Label = raw; return true;
      default:
        // Derived from the device, the products or the cue's place: nothing to read.
        return true;
    }
  }

  bool Address(ScriptField field, std::string_view text, std::optional<int32_t>& out) {
    if (text.empty()) return true;
    const std::optional<int32_t> value = ParseCueAddress(text);
    if (!value) return Refuse(field, text, "is not a whole number from 0 to " + std::to_string(kMaxCueAddress));
    out = *value;
    return true;
  }

  bool Coordinate(ScriptField field, std::string_view text, std::optional<float>& out) {
    if (text.empty()) return true;
    const std::optional<float> value = ReadFloat32(text, '.');
    if (!value || !(std::fabs(static_cast<double>(*value)) <= kMaxCuePosition))
      return Refuse(field, text, "is not a coordinate of the show's range");
    out = *value;
    return true;
  }

  std::string_view fileName_;
  int line_;
  const FiringProfile& profile_;
  std::string error_;
  const std::string empty_;
};

}  // namespace

Result<std::vector<Cue>> ReadFiringScript(std::string_view text, std::string_view fileName,
                                          const FiringProfile& profile) {
  const std::string cannot = "The profile \"" + profile.Name + "\" cannot be read back: ";
  if (profile.Layout != ScriptLayout::kTable || profile.Delimiter != ',')
    return Fail(cannot + "only tables separated by commas can.");
  if (!HasField(profile, ScriptField::kIgnitionTime) || !HasField(profile, ScriptField::kCode))
    return Fail(cannot + "it has no ignition_time or no code column.");
  if (text.size() > kMaxScriptFileBytes) return Fail(std::string(fileName) + " is larger than a firing script can be.");
  const std::string utf8 = profile.Encoding == ScriptEncoding::kLatin1 ? Latin1ToUtf8(text) : std::string(text);
  std::string_view body = WithoutByteOrderMark(utf8);
  // The header lines are the profile's own text: skipped, their lines counted.
  int skipped = 0;
  for (; skipped < static_cast<int>(profile.HeaderLines.size()); ++skipped) {
    const size_t end = body.find('\n');
    if (end == std::string_view::npos)
      return Fail(std::string(fileName) + ": the profile's " + std::to_string(profile.HeaderLines.size()) +
                  " header lines are missing.");
    body.remove_prefix(end + 1);
  }
  const CsvSplit split = SplitCsv(body, kMaxCues + 2);
  auto where = [&](int line) { return std::string(fileName) + " line " + std::to_string(line + skipped) + ": "; };
  if (!split.Error.empty()) return Fail(where(split.ErrorLine) + split.Error + ".");
  size_t first = 0;
  if (profile.ColumnHeaders) {
    if (split.Records.empty()) return Fail(std::string(fileName) + ": the line of column headers is missing.");
    std::vector<std::string> headers;
    for (const std::string& h : split.Records[0].Fields) headers.emplace_back(TrimBlanks(h));
    std::vector<std::string> expected;
    for (const ScriptColumn& c : profile.Columns) expected.push_back(c.Header);
    if (headers != expected)
      return Fail(where(split.Records[0].Line) + "the column headers are not the profile \"" + profile.Name + "\"'s.");
    first = 1;
  }
  if (split.Records.size() - first > kMaxCues)
    return Fail(where(split.Records[first + kMaxCues].Line) + "the script holds more than " + std::to_string(kMaxCues) +
                " cues.");
  std::vector<Cue> cues;
  for (size_t i = first; i < split.Records.size(); ++i) {
    Result<Cue> cue = RowReader(fileName, split.Records[i].Line + skipped, profile).Read(split.Records[i].Fields);
    if (!cue) return cue.Error();
    cues.push_back(std::move(cue.Value()));
  }
  SortCuesByTime(cues);
  return cues;
}

}  // namespace orvane
