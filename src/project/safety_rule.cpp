#include "project/safety_rule.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "show/staged_files.h"
#include "util/data_folders.h"
#include "util/json_depth.h"

namespace orvane {
namespace {

using Json = nlohmann::json;

constexpr int kMaxJsonDepth = 2;
constexpr size_t kMaxTextBytes = 1024;

Failure Refuse(std::string_view source, const std::string& what) { return Fail(std::string(source) + ": " + what); }

std::optional<std::string> Text(const Json& json, const char* key, size_t maxBytes, std::string& out) {
  const auto it = json.find(key);
  if (it == json.end()) return std::string("\"") + key + "\" is missing";
  if (!it->is_string()) return std::string("\"") + key + "\" must be text";
  out = it->get<std::string>();
  if (out.size() > maxBytes) return std::string("\"") + key + "\" is too long";
  return std::nullopt;
}

// A number from 0 (above 0 when `positive`) up to `high`; absent keeps `out`.
std::optional<std::string> Number(const Json& json, const char* key, double high, bool positive, double& out) {
  const auto it = json.find(key);
  if (it == json.end()) return std::nullopt;
  const std::string range =
      std::string(positive ? "above 0" : "0 or more") + " and at most " + std::to_string(static_cast<int64_t>(high));
  if (!it->is_number()) return std::string("\"") + key + "\" must be a number " + range;
  const double value = it->get<double>();
  if (!std::isfinite(value) || value < 0 || (positive && value == 0) || value > high)
    return std::string("\"") + key + "\" must be " + range;
  out = value;
  return std::nullopt;
}

bool SafeName(std::string_view name) {
  if (name.empty() || name.size() > 128 || name.front() == '.') return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_';
  });
}

}  // namespace

double RuleDistance(const SafetyRule& rule, double calibreMm) {
  return std::max(rule.MinimumM, rule.MetresPerMm * calibreMm);
}

Result<SafetyRule> ReadSafetyRule(std::string_view text, std::string_view source) {
  if (text.size() > kMaxSafetyRuleBytes)
    return Refuse(source, "a safety rule is at most " + std::to_string(kMaxSafetyRuleBytes / 1024) + " KiB.");
  if (JsonNestedDeeperThan(text, kMaxJsonDepth)) return Refuse(source, "nested too deeply for a safety rule.");
  Json json;
  try {
    json = Json::parse(text.begin(), text.end());
  } catch (const Json::exception&) {  // syntax, or a number beyond a double
    return Refuse(source, "not valid JSON.");
  }
  if (!json.is_object()) return Refuse(source, "a safety rule must be a JSON object.");
  for (const auto& [key, value] : json.items()) {
    if (key != "name" && key != "title" && key != "source" && key != "metres_per_mm" && key != "minimum_m")
      return Refuse(source, "unknown field \"" + key + "\".");
  }
  SafetyRule rule;
  std::optional<std::string> error = Text(json, "name", 128, rule.Name);
  if (!error) error = Text(json, "title", kMaxTextBytes, rule.Title);
  if (!error) error = Text(json, "source", kMaxTextBytes, rule.Source);
  if (!error && json.find("metres_per_mm") == json.end()) error = "\"metres_per_mm\" is missing";
  if (!error) error = Number(json, "metres_per_mm", kMaxRuleMetresPerMm, true, rule.MetresPerMm);
  if (!error) error = Number(json, "minimum_m", kMaxRuleMinimumM, false, rule.MinimumM);
  if (!error && !SafeName(rule.Name)) error = "\"name\" must be letters, digits, '.', '-' or '_'";
  if (error) return Refuse(source, *error + ".");
  return rule;
}

std::vector<std::string> ShippedSafetyRuleNames() {
  std::vector<std::string> names;
  const auto folder = DataFolder(kSafetyRulesFolderName);
  if (!folder) return names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(*folder, error))
    if (entry.path().extension() == kSafetyRuleExtension && entry.is_regular_file(error))
      names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

Result<SafetyRule> LoadSafetyRule(const std::string& name, const std::filesystem::path& showFolder) {
  if (!SafeName(name))
    return Fail("the safety rule \"" + name + "\" is not a rule's name (letters, digits, '.', '-' and '_').");
  const std::string file = name + kSafetyRuleExtension;
  std::filesystem::path path;
  std::error_code error;
  if (!showFolder.empty() && std::filesystem::is_regular_file(showFolder / kSafetyRulesFolderName / file, error)) {
    path = showFolder / kSafetyRulesFolderName / file;
  } else {
    const std::vector<std::string> names = ShippedSafetyRuleNames();
    if (std::find(names.begin(), names.end(), name) == names.end()) {
      std::string known;
      for (const std::string& n : names) known += (known.empty() ? "" : ", ") + n;
      return Fail("no safety rule is named \"" + name + "\" (shipped: " + (known.empty() ? "none found" : known) +
                  "; a show's own go in its folder " + std::string(kSafetyRulesFolderName) + ").");
    }
    path = *DataFolder(kSafetyRulesFolderName) / file;
  }
  const Result<std::string> text = ReadSmallFile(path, kMaxSafetyRuleBytes);
  if (!text) return text.Error();
  Result<SafetyRule> rule = ReadSafetyRule(text.Value(), path.filename().string());
  if (rule && rule.Value().Name != name)
    return Fail(path.filename().string() + ": \"name\" is \"" + rule.Value().Name + "\", not \"" + name + "\".");
  return rule;
}

}  // namespace orvane
