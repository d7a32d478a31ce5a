#include "project/firing_script.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <numeric>

#include "model/record_decimals.h"
#include "project/firing_checks.h"
#include "project/script_time.h"
#include "show/cue_list.h"
#include "util/safe_file.h"

namespace orvane {
namespace {

// One cue as the script sees it.
struct ScriptCue {
  size_t Index = 0;
  int64_t IgnitionTicks = 0;
  int64_t BreakTicks = 0;
  int64_t PrefireMs = 0;
};

std::string WithSeparator(std::string text, char separator) {
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

std::string OneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

std::string FieldText(ScriptField field, const ScriptCue& s, const Cue& cue, const CueAddress& address,
                      const FiringScriptInput& input, const FiringProfile& profile) {
  const Product* product = FindProduct(input.Context.Products, cue.Code);
  const char sep = profile.DecimalSeparator;
  auto coordinate = [](const std::optional<float>& v) { return v ? Float32Text(*v) : std::string(); };
  switch (field) {
    case ScriptField::kIgnitionTime: return ScriptTimeText(s.IgnitionTicks, profile);
    case ScriptField::kBreakTime: return ScriptTimeText(s.BreakTicks, profile);
    case ScriptField::kModule: return std::to_string(address.Module);
    case ScriptField::kPin: return std::to_string(address.Pin);
    case ScriptField::kPosition: return cue.Position;
    case ScriptField::kProductName: return CueProductName(cue, input.Context);
    case ScriptField::kPartNumber: return product ? product->PartNumber : std::string();
    case ScriptField::kType: return product ? ProductTypeName(product->Type) : std::string();
    case ScriptField::kCalibre:
      return product && product->CalibreMm ? WithSeparator(Float64Text(*product->CalibreMm), sep) : std::string();
    case ScriptField::kPrefire: return WithSeparator(CueTimeText(s.PrefireMs), sep);
    case ScriptField::kDuration:
      return product && product->DurationS ? WithSeparator(Float64Text(*product->DurationS), sep) : std::string();
    case ScriptField::kLabel: return cue.Label;
    case ScriptField::kCueLine: return std::to_string(CueLineNumber(cue, s.Index));
    case ScriptField::kQuantity: return "1";
    case ScriptField::kCode: return std::to_string(cue.Code);
    case ScriptField::kX: return coordinate(cue.X);
    case ScriptField::kY: return coordinate(cue.Y);
    case ScriptField::kZ: return coordinate(cue.Z);
  }
  return {};
}

std::string Delimited(const std::string& text, char delimiter) {
  if (text.find_first_of(std::string{delimiter, '"', '\r', '\n'}) == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// The UTF-8 text in ISO-8859-1, or the first character it cannot hold ("" for text that is
// not UTF-8).
Result<std::string> ToLatin1(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (length == 1 || i + length > text.size()) return Fail("");
    uint32_t code = c & (0xFF >> (length + 1));
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return Fail("");
      code = code << 6 | (next & 0x3F);
    }
    if (code > 0xFF) return Fail(std::string(text.substr(i, length)));
    out += static_cast<char>(code);
    i += length;
  }
  return out;
}

class ScriptText {
 public:
  ScriptText(const FiringProfile& profile, std::vector<std::string>& problems)
      : profile_(profile), problems_(problems) {}

  // `where` names the text in a refusal ("cues.csv line 7: the label").
  void Add(std::string_view text, const std::string& where) {
    if (profile_.Encoding == ScriptEncoding::kUtf8) {
      bytes_ += text;
      return;
    }
    const Result<std::string> latin = ToLatin1(text);
    if (latin) bytes_ += latin.Value();
    else if (problems_.size() < kMaxScriptProblems)
      problems_.push_back(where +
                          (latin.Message().empty()
                               ? " is not UTF-8 text"
                               : " holds \"" + latin.Message() + "\", which ISO-8859-1 cannot hold") +
                          "; choose a UTF-8 profile or change the text.");
  }
  void EndLine() { bytes_ += profile_.Crlf ? "\r\n" : "\n"; }
  std::string Take() { return std::move(bytes_); }

 private:
  const FiringProfile& profile_;
  std::vector<std::string>& problems_;
  std::string bytes_;
};

std::string ExpandHeader(std::string_view line, const FiringScriptInput& input, const FiringProfile& profile,
                         const std::string& length) {
  const std::pair<const char*, std::string> values[] = {{"{title}", OneLine(input.Title)},
                                                        {"{date}", input.Date},
                                                        {"{cue_count}", std::to_string(input.Cues.size())},
                                                        {"{profile}", profile.Name},
                                                        {"{length}", length}};
  std::string out;
  for (size_t i = 0; i < line.size();) {
    bool replaced = false;
    for (const auto& [name, value] : values)
      if (line.substr(i).starts_with(name)) {
        out += value;
        i += std::string_view(name).size();
        replaced = true;
        break;
      }
    if (!replaced) out += line[i++];
  }
  return out;
}

std::vector<ScriptCue> ScriptCues(const FiringScriptInput& input, const FiringProfile& profile, FiringScriptPlan& plan,
                                  std::vector<double>& ignitionMs) {
  const ScriptTick tick = ProfileTick(profile);
  std::vector<ScriptCue> cues;
  for (size_t i = 0; i < input.Cues.size(); ++i) {
    const Cue& cue = input.Cues[i];
    ScriptCue s;
    s.Index = i;
    s.PrefireMs = CuePrefireMs(cue, input.Context);
    s.IgnitionTicks = RoundToTicks(cue.TimeMs, tick);
    s.BreakTicks = RoundToTicks(cue.TimeMs + s.PrefireMs, tick);
    ignitionMs.push_back(TicksToMs(s.IgnitionTicks, tick));
    const double moved = std::fabs(ignitionMs.back() - static_cast<double>(cue.TimeMs));
    if (moved > plan.LargestRoundingMs) {
      plan.LargestRoundingMs = moved;
      plan.LargestRoundingLine = CueLineNumber(cue, i);
    }
    cues.push_back(s);
  }
  return cues;
}

void SortRows(std::vector<ScriptCue>& rows, const std::vector<CueAddress>& addresses, ScriptSort sort) {
  auto address = [&](const ScriptCue& s) { return std::pair{addresses[s.Index].Module, addresses[s.Index].Pin}; };
  std::stable_sort(rows.begin(), rows.end(), [&](const ScriptCue& a, const ScriptCue& b) {
    if (sort == ScriptSort::kAddress) return address(a) < address(b);
    return a.IgnitionTicks < b.IgnitionTicks;
  });
}

void WriteTable(ScriptText& text, const std::vector<ScriptCue>& rows, const FiringScriptInput& input,
                const FiringScriptPlan& plan, const FiringProfile& profile) {
  if (profile.ColumnHeaders) {
    for (size_t c = 0; c < profile.Columns.size(); ++c) {
      if (c > 0) text.Add(std::string(1, profile.Delimiter), "");
      text.Add(Delimited(profile.Columns[c].Header, profile.Delimiter),
               "the header of column " + std::to_string(c + 1));
    }
    text.EndLine();
  }
  for (const ScriptCue& s : rows) {
    const Cue& cue = input.Cues[s.Index];
    for (size_t c = 0; c < profile.Columns.size(); ++c) {
      if (c > 0) text.Add(std::string(1, profile.Delimiter), "");
      const ScriptField field = profile.Columns[c].Field;
      text.Add(Delimited(FieldText(field, s, cue, plan.Addresses[s.Index], input, profile), profile.Delimiter),
               CueLineName(cue, s.Index) + ": the " + ScriptFieldName(field));
    }
    text.EndLine();
  }
}

void WriteSubtitles(ScriptText& text, const std::vector<ScriptCue>& rows, const FiringScriptInput& input,
                    const FiringScriptPlan& plan, const FiringProfile& profile) {
  const ScriptTick tick = ProfileTick(profile);
  const int64_t showTicks = RoundToTicks(profile.SubtitleMs, tick);
  for (size_t n = 0; n < rows.size(); ++n) {
    const ScriptCue& s = rows[n];
    const Cue& cue = input.Cues[s.Index];
    text.Add(std::to_string(n + 1), "");
    text.EndLine();
    text.Add(ScriptTimeText(s.IgnitionTicks, profile) + " --> " + ScriptTimeText(s.IgnitionTicks + showTicks, profile),
             "");
    text.EndLine();
    std::string line;
    for (const ScriptColumn& column : profile.Columns) {
      const std::string value = OneLine(FieldText(column.Field, s, cue, plan.Addresses[s.Index], input, profile));
      if (value.empty()) continue;
      line += (line.empty() ? "" : ", ") + (column.Header.empty() ? value : column.Header + " " + value);
    }
    // An empty text would end the entry early.
    text.Add(line.empty() ? "-" : line, CueLineName(cue, s.Index) + ": the subtitle");
    text.EndLine();
    text.EndLine();
  }
}

}  // namespace

FiringScriptPlan PlanFiringScript(const FiringScriptInput& input, const FiringProfile& profile) {
  FiringScriptPlan plan;
  plan.ProfileName = profile.Name;
  AddressPlan addresses = AssignAddresses(input.Cues, input.Context.Site, profile);
  plan.Addresses = std::move(addresses.Addresses);
  plan.AssignedCount = addresses.AssignedCount;
  if (addresses.Error) {
    plan.Problems.push_back(*addresses.Error);
    return plan;
  }
  std::vector<double> ignitionMs;
  std::vector<ScriptCue> rows = ScriptCues(input, profile, plan, ignitionMs);
  plan.Problems = CheckFiring(input.Cues, plan.Addresses, ignitionMs, profile);
  if (plan.Refused()) return plan;
  SortRows(rows, plan.Addresses, profile.Sort);
  const int64_t lastTicks = std::accumulate(rows.begin(), rows.end(), int64_t{0},
                                            [](int64_t m, const ScriptCue& s) { return std::max(m, s.IgnitionTicks); });
  ScriptText text(profile, plan.Problems);
  for (size_t i = 0; i < profile.HeaderLines.size(); ++i) {
    text.Add(ExpandHeader(profile.HeaderLines[i], input, profile, ScriptTimeText(lastTicks, profile)),
             "header line " + std::to_string(i + 1));
    text.EndLine();
  }
  if (profile.Layout == ScriptLayout::kSubtitles) WriteSubtitles(text, rows, input, plan, profile);
  else WriteTable(text, rows, input, plan, profile);
  if (!plan.Refused()) plan.Bytes = text.Take();
  return plan;
}

std::string FiringScriptReport(const FiringScriptPlan& plan) {
  std::string report = "profile: " + plan.ProfileName + "\n";
  report += "cues: " + std::to_string(plan.Addresses.size()) + "\n";
  report += "addresses assigned: " + std::to_string(plan.AssignedCount) + "\n";
  if (!plan.Addresses.empty() && !plan.Refused()) {
    const auto [low, high] =
        std::minmax_element(plan.Addresses.begin(), plan.Addresses.end(),
                            [](const CueAddress& a, const CueAddress& b) { return a.Module < b.Module; });
    report += "modules: " + std::to_string(low->Module) + " to " + std::to_string(high->Module) + "\n";
  }
  char rounding[96];
  std::snprintf(rounding, sizeof rounding, "%.3f ms", plan.LargestRoundingMs);
  report += std::string("largest rounding: ") + rounding;
  if (plan.LargestRoundingMs > 0) report += " (cues.csv line " + std::to_string(plan.LargestRoundingLine) + ")";
  report += "\n";
  for (const std::string& problem : plan.Problems) report += "refused: " + problem + "\n";
  return report;
}

Result<> WriteFiringScript(const std::filesystem::path& file, const FiringScriptPlan& plan) {
  if (plan.Refused()) return Fail("The firing script was not written: " + plan.Problems.front());
  if (const std::string error = WriteFileSafely(file, plan.Bytes); !error.empty())
    return Fail("Could not write " + file.string() + ": " + error);
  return {};
}

std::string CueProductName(const Cue& cue, const CueTableContext& context) {
  if (const Product* p = FindProduct(context.Products, cue.Code)) return p->Name;
  if (context.Devices != nullptr)
    for (const auto& device : *context.Devices)
      if (device && device->Definition.Code == cue.Code) return device->Definition.Name;
  return {};
}

std::string TodayText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

}  // namespace orvane
