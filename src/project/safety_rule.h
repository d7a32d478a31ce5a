#pragma once
// A safety-distance rule: how far the audience must stand from a firing position, from the
// largest calibre fired there. Read from a small JSON file so that users can give the rule
// their permit names; shipped rules live in the data folder "safety-rules" as <name>.json,
// and a show may bring its own in <show folder>/safety-rules.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "util/result.h"

namespace orvane {

inline constexpr const char* kSafetyRuleExtension = ".json";
// A rule is a few lines of JSON; a larger file is refused unread.
inline constexpr uintmax_t kMaxSafetyRuleBytes = uintmax_t{16} << 10;
// Beyond any calibre or distance a display uses; keeps the plan's numbers finite and sane.
inline constexpr double kMaxRuleMetresPerMm = 100;
inline constexpr double kMaxRuleMinimumM = 10'000;

struct SafetyRule {
  std::string Name;   // as show.json's site.safety_rule names it
  std::string Title;  // "70 ft per inch of calibre": what the plan prints
  std::string Source;
  double MetresPerMm = 0.84;  // above 0
  double MinimumM = 0;        // from 0: no circle is smaller

  bool operator==(const SafetyRule&) const = default;
};

// The radius of the rule's circle around a position firing `calibreMm` at most.
double RuleDistance(const SafetyRule& rule, double calibreMm);

// Reads a rule's JSON; `source` starts the messages. Unknown fields are refused, so that a
// misspelt one is not silently ignored.
Result<SafetyRule> ReadSafetyRule(std::string_view text, std::string_view source);

// The rule `name` names: <showFolder>/safety-rules/<name>.json when the show brings it,
// else the shipped one. A name is letters, digits, '.', '-' and '_' (no folders).
Result<SafetyRule> LoadSafetyRule(const std::string& name, const std::filesystem::path& showFolder);

// Names of the shipped rules, sorted; empty when the data folder is missing.
std::vector<std::string> ShippedSafetyRuleNames();

}  // namespace orvane
