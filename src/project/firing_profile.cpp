#include "project/firing_profile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <nlohmann/json.hpp>

#include "show/staged_files.h"
#include "util/data_folders.h"
#include "util/json_depth.h"

namespace orvane {
namespace {

using Json = nlohmann::json;

constexpr std::array<std::pair<ScriptField, const char*>, 18> kFieldNames = {{
    {ScriptField::kIgnitionTime, "ignition_time"},
    {ScriptField::kBreakTime, "break_time"},
    {ScriptField::kModule, "module"},
    {ScriptField::kPin, "pin"},
    {ScriptField::kPosition, "position"},
    {ScriptField::kProductName, "product_name"},
    {ScriptField::kPartNumber, "part_number"},
    {ScriptField::kType, "type"},
    {ScriptField::kCalibre, "calibre"},
    {ScriptField::kPrefire, "prefire"},
    {ScriptField::kDuration, "duration"},
    {ScriptField::kLabel, "label"},
    {ScriptField::kCueLine, "cue_line"},
    {ScriptField::kQuantity, "quantity"},
    {ScriptField::kCode, "code"},
    {ScriptField::kX, "x"},
    {ScriptField::kY, "y"},
    {ScriptField::kZ, "z"},
}};

constexpr int kMaxJsonDepth = 8;
// Bounds that keep every product of numbers within int64 and a script a readable size.
constexpr int64_t kMaxResolutionMs = 60'000;
constexpr int64_t kMaxShowLengthMs = int64_t{86'400} * 1000;
constexpr int kMaxModules = 65'536;
constexpr int kMaxPinsPerModule = 65'536;
constexpr size_t kMaxTextBytes = 1024;

// "line 3, column 9" of the byte at `offset` (counted from 1).
std::string TextPosition(std::string_view text, size_t offset) {
  offset = std::min(offset, text.size());
  const std::string_view before = text.substr(0, offset);
  const size_t lineStart = before.rfind('\n');
  const size_t line = 1 + static_cast<size_t>(std::count(before.begin(), before.end(), '\n'));
  const size_t column = lineStart == std::string_view::npos ? offset + 1 : offset - lineStart;
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

class ProfileReader {
 public:
  explicit ProfileReader(std::string_view source) : source_(source) {}

  Result<FiringProfile> Read(const Json& json) {
    if (!json.is_object()) return Refuse("", "the profile must be a JSON object");
    static constexpr std::array kKnown = {"name",
                                          "extension",
                                          "layout",
                                          "delimiter",
                                          "decimal_separator",
                                          "encoding",
                                          "line_ending",
                                          "header_lines",
                                          "column_headers",
                                          "columns",
                                          "time_format",
                                          "time_decimals",
                                          "frames_per_second",
                                          "resolution_ms",
                                          "pin_base",
                                          "module_base",
                                          "pins_per_module",
                                          "modules",
                                          "min_spacing_ms",
                                          "max_show_length_s",
                                          "sort",
                                          "subtitle_ms"};
    for (const auto& [key, value] : json.items())
      if (std::find(kKnown.begin(), kKnown.end(), key) == kKnown.end())
        return Refuse("\"" + key + "\"", "unknown setting; the settings are described in the README");
    FiringProfile p;
    if (!Text(json, "name", p.Name, true) || !Text(json, "extension", p.Extension, false)) return Error();
    if (p.Name.empty()) return Refuse("\"name\"", "must not be empty");
    if (p.Extension.find_first_of("/\\. \t") != std::string::npos)
      return Refuse("\"extension\"", "must be a plain file extension without a dot, such as \"csv\"");
    if (!Choice(json, "layout", {{"table", ScriptLayout::kTable}, {"subtitles", ScriptLayout::kSubtitles}}, p.Layout) ||
        !Character(json, "delimiter", p.Delimiter) || !Character(json, "decimal_separator", p.DecimalSeparator) ||
        !Choice(json, "encoding", {{"UTF-8", ScriptEncoding::kUtf8}, {"ISO-8859-1", ScriptEncoding::kLatin1}},
                p.Encoding) ||
        !Choice(json, "line_ending", {{"lf", false}, {"crlf", true}}, p.Crlf) || !HeaderLines(json, p) ||
        !Flag(json, "column_headers", p.ColumnHeaders) || !Columns(json, p) || !TimeFormat(json, p) ||
        !Choice(json, "pin_base", {{"0", 0}, {"1", 1}}, p.PinBase, true) ||
        !Choice(json, "module_base", {{"0", 0}, {"1", 1}}, p.ModuleBase, true) ||
        !Whole(json, "pins_per_module", 1, kMaxPinsPerModule, p.PinsPerModule) ||
        !Whole(json, "modules", 1, kMaxModules, p.Modules) ||
        !Whole(json, "min_spacing_ms", int64_t{0}, kMaxResolutionMs, p.MinSpacingMs) || !ShowLength(json, p) ||
        !Choice(json, "sort", {{"time", ScriptSort::kTime}, {"address", ScriptSort::kAddress}}, p.Sort) ||
        !Whole(json, "subtitle_ms", int64_t{1}, kMaxResolutionMs, p.SubtitleMs))
      return Error();
    if (p.Layout == ScriptLayout::kSubtitles && p.TimeFormat != ScriptTimeFormat::kSubtitleClock)
      return Refuse("\"time_format\"", "subtitles are timed \"hh:mm:ss,mmm\"");
    if (p.Layout == ScriptLayout::kTable && p.Delimiter == p.DecimalSeparator)
      return Refuse("\"decimal_separator\"", "must differ from the delimiter");
    if (p.Layout == ScriptLayout::kTable && (p.Delimiter == '"' || p.Delimiter == '\n' || p.Delimiter == '\r'))
      return Refuse("\"delimiter\"", "must not be a quote or a line break");
    return p;
  }

 private:
  Result<FiringProfile> Refuse(const std::string& where, const std::string& what) {
    error_ = std::string(source_) + ": " + (where.empty() ? "" : where + ": ") + what + ".";
    return Error();
  }
  bool Fail(const std::string& where, const std::string& what) {
    (void)Refuse(where, what);
    return false;
  }
  Failure Error() const { return orvane::Fail(error_); }

  bool Text(const Json& json, const char* key, std::string& out, bool required) {
    const auto it = json.find(key);
    if (it == json.end()) return !required || Fail(std::string("\"") + key + "\"", "is missing");
    if (!it->is_string() || it->get_ref<const std::string&>().size() > kMaxTextBytes)
      return Fail(std::string("\"") + key + "\"", "must be a text of at most 1024 bytes");
    out = it->get<std::string>();
    return true;
  }

  bool Character(const Json& json, const char* key, char& out) {
    std::string text(1, out);
    if (!Text(json, key, text, false)) return false;
    if (text == "\\t") text = "\t";
    if (text.size() != 1 || static_cast<unsigned char>(text[0]) >= 0x80)
      return Fail(std::string("\"") + key + "\"", "must be one ASCII character (\"\\t\" for a tab)");
    out = text[0];
    return true;
  }

  bool Flag(const Json& json, const char* key, bool& out) {
    const auto it = json.find(key);
    if (it == json.end()) return true;
    if (!it->is_boolean()) return Fail(std::string("\"") + key + "\"", "must be true or false");
    out = it->get<bool>();
    return true;
  }

  template <class T>
  bool Whole(const Json& json, const char* key, T low, T high, T& out) {
    const auto it = json.find(key);
    if (it == json.end()) return true;
    const bool whole = it->is_number_integer() ||
                       (it->is_number_float() && std::isfinite(it->get<double>()) &&
                        it->get<double>() == std::floor(it->get<double>()) && std::fabs(it->get<double>()) < 1e15);
    const int64_t value = !whole                  ? 0
                          : it->is_number_float() ? static_cast<int64_t>(it->get<double>())
                                                  : it->get<int64_t>();
    if (!whole || (it->is_number_unsigned() && it->get<uint64_t>() > static_cast<uint64_t>(high)) || value < low ||
        value > high)
      return Fail(std::string("\"") + key + "\"",
                  "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    out = static_cast<T>(value);
    return true;
  }

  // A text naming one of `choices`; with `numbers`, a whole number written as its text.
  template <class T>
  bool Choice(const Json& json, const char* key, std::initializer_list<std::pair<const char*, T>> choices, T& out,
              bool numbers = false) {
    const auto it = json.find(key);
    if (it == json.end()) return true;
    std::string text;
    if (it->is_string()) text = it->get<std::string>();
    else if (numbers && it->is_number_integer()) text = std::to_string(it->get<int64_t>());
    for (const auto& [name, value] : choices)
      if ((it->is_string() || numbers) && text == name) {
        out = value;
        return true;
      }
    std::string names;
    for (const auto& [name, value] : choices) names += (names.empty() ? "" : " or ") + std::string(name);
    return Fail(std::string("\"") + key + "\"", "must be " + names);
  }

  bool HeaderLines(const Json& json, FiringProfile& p) {
    const auto it = json.find("header_lines");
    if (it == json.end()) return true;
    if (!it->is_array() || it->size() > kMaxProfileHeaderLines)
      return Fail("\"header_lines\"", "must be a list of at most 64 texts");
    for (size_t i = 0; i < it->size(); ++i) {
      const Json& line = (*it)[i];
      const std::string where = "\"header_lines\"[" + std::to_string(i) + "]";
      if (!line.is_string() || line.get_ref<const std::string&>().size() > kMaxTextBytes)
        return Fail(where, "must be a text of at most 1024 bytes");
      const std::string text = line.get<std::string>();
      if (text.find_first_of("\r\n") != std::string::npos) return Fail(where, "must be one line");
      if (auto bad = BadPlaceholder(text)) return Fail(where, *bad);
      p.HeaderLines.push_back(text);
    }
    return true;
  }

  static std::optional<std::string> BadPlaceholder(std::string_view text) {
    static constexpr std::array kNames = {"title", "date", "cue_count", "profile", "length"};
    for (size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
      const size_t close = text.find('}', open);
      if (close == std::string_view::npos) return "a \"{\" is not closed";
      const std::string_view name = text.substr(open + 1, close - open - 1);
      if (std::find(kNames.begin(), kNames.end(), name) == kNames.end())
        return "unknown placeholder \"{" + std::string(name.substr(0, 40)) +
               "}\"; the placeholders are {title}, {date}, {cue_count}, {profile} and {length}";
    }
    return std::nullopt;
  }

  bool Columns(const Json& json, FiringProfile& p) {
    const auto it = json.find("columns");
    if (it == json.end()) return Fail("\"columns\"", "is missing");
    if (!it->is_array() || it->empty() || it->size() > kMaxProfileColumns)
      return Fail("\"columns\"", "must be a list of 1 to 64 columns");
    for (size_t i = 0; i < it->size(); ++i) {
      const Json& c = (*it)[i];
      const std::string where = "\"columns\"[" + std::to_string(i) + "]";
      if (!c.is_object()) return Fail(where, "must be an object with \"header\" and \"field\"");
      for (const auto& [key, value] : c.items())
        if (key != "header" && key != "field") return Fail(where + ".\"" + key + "\"", "unknown setting");
      ScriptColumn column;
      std::string field;
      if (!Text(c, "header", column.Header, false) || !Text(c, "field", field, true)) {
        error_.insert(error_.find(": ") + 2, where + ".");
        return false;
      }
      const std::optional<ScriptField> known = ScriptFieldFromName(field);
      if (!known) return Fail(where + ".\"field\"", "unknown field \"" + field.substr(0, 40) + "\"");
      column.Field = *known;
      p.Columns.push_back(column);
    }
    return true;
  }

  bool TimeFormat(const Json& json, FiringProfile& p) {
    if (!Choice(json, "time_format",
                {{"seconds", ScriptTimeFormat::kSeconds},
                 {"milliseconds", ScriptTimeFormat::kMilliseconds},
                 {"hh:mm:ss.ff", ScriptTimeFormat::kHundredths},
                 {"hh:mm:ss:ff", ScriptTimeFormat::kFrames},
                 {"hh:mm:ss,mmm", ScriptTimeFormat::kSubtitleClock}},
                p.TimeFormat) ||
        !Whole(json, "time_decimals", 0, 3, p.TimeDecimals) ||
        !Whole(json, "frames_per_second", 1, 1000, p.FramesPerSecond) ||
        !Whole(json, "resolution_ms", int64_t{1}, kMaxResolutionMs, p.ResolutionMs))
      return false;
    const bool frames = p.TimeFormat == ScriptTimeFormat::kFrames;
    if (frames && json.contains("resolution_ms"))
      return Fail("\"resolution_ms\"", "a frame timecode's resolution is its frame; leave it out");
    if (!frames && json.contains("frames_per_second"))
      return Fail("\"frames_per_second\"", "only an \"hh:mm:ss:ff\" time format has frames");
    if (p.TimeFormat != ScriptTimeFormat::kSeconds && json.contains("time_decimals"))
      return Fail("\"time_decimals\"", "only a \"seconds\" time format has decimals");
    // The format must be able to write every tick exactly.
    const int64_t step = p.TimeFormat == ScriptTimeFormat::kSeconds      ? int64_t{1000} / Pow10(p.TimeDecimals)
                         : p.TimeFormat == ScriptTimeFormat::kHundredths ? 10
                                                                         : 1;
    if (!frames && !json.contains("resolution_ms")) p.ResolutionMs = step;
    if (!frames && p.ResolutionMs % step != 0)
      return Fail("\"resolution_ms\"", "impossible resolution: " + std::to_string(p.ResolutionMs) +
                                           " ms cannot be written in steps of " + std::to_string(step) + " ms");
    return true;
  }

  static int64_t Pow10(int n) {
    int64_t v = 1;
    while (n-- > 0) v *= 10;
    return v;
  }

  bool ShowLength(const Json& json, FiringProfile& p) {
    int64_t seconds = p.MaxShowLengthMs / 1000;
    if (!Whole(json, "max_show_length_s", int64_t{1}, kMaxShowLengthMs / 1000, seconds)) return false;
    p.MaxShowLengthMs = seconds * 1000;
    return true;
  }

  std::string_view source_;
  std::string error_;
};

}  // namespace

const char* ScriptFieldName(ScriptField field) {
  for (const auto& [f, name] : kFieldNames)
    if (f == field) return name;
  return "?";
}

std::optional<ScriptField> ScriptFieldFromName(std::string_view name) {
  for (const auto& [f, known] : kFieldNames)
    if (name == known) return f;
  return std::nullopt;
}

Result<FiringProfile> ReadFiringProfile(std::string_view text, std::string_view source) {
  if (text.size() > kMaxProfileBytes)
    return Fail(std::string(source) + ": a profile is at most " + std::to_string(kMaxProfileBytes / 1024) + " KiB.");
  if (JsonNestedDeeperThan(text, kMaxJsonDepth))
    return Fail(std::string(source) + ": nested too deeply for a profile.");
  Json json;
  try {
    json = Json::parse(text.begin(), text.end());
  } catch (const Json::parse_error& e) {
    // The library's byte is one past the offending character.
    return Fail(std::string(source) + ": " + TextPosition(text, e.byte == 0 ? 0 : e.byte - 1) + ": not valid JSON.");
  } catch (const Json::exception&) {  // a number beyond a double: the library gives no position
    return Fail(std::string(source) + ": not valid JSON (a number too large).");
  }
  return ProfileReader(source).Read(json);
}

std::vector<std::string> ProfileNamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.path().extension() == kProfileExtension && entry.is_regular_file(error))
      names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> ShippedProfileNames() {
  const auto folder = DataFolder(kProfilesFolderName);
  return folder ? ProfileNamesIn(*folder) : std::vector<std::string>{};
}

Result<FiringProfile> LoadFiringProfile(const std::string& nameOrFile) {
  std::filesystem::path file = nameOrFile;
  const bool isFile = nameOrFile.find('/') != std::string::npos || file.extension() == kProfileExtension;
  if (!isFile) {
    const std::vector<std::string> names = ShippedProfileNames();
    if (std::find(names.begin(), names.end(), nameOrFile) == names.end()) {
      std::string known;
      for (const std::string& n : names) known += (known.empty() ? "" : ", ") + n;
      return Fail("no profile is named \"" + nameOrFile + "\" (shipped: " + (known.empty() ? "none found" : known) +
                  "; give a file ending in .json for your own).");
    }
    file = *DataFolder(kProfilesFolderName) / (nameOrFile + kProfileExtension);
  }
  const Result<std::string> text = ReadSmallFile(file, kMaxProfileBytes);
  if (!text) return text.Error();
  return ReadFiringProfile(text.Value(), file.filename().string());
}

}  // namespace orvane
