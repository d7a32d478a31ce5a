#pragma once
// A show's firing script in a profile's format: addresses assigned, times rounded, every
// check run; the script's bytes exist only when nothing refused it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "project/firing_addresses.h"
#include "project/firing_profile.h"
#include "show/cue_table.h"
#include "util/result.h"

namespace orvane {

struct FiringScriptInput {
  const std::vector<Cue>& Cues;
  CueTableContext Context;  // site, products, devices and measured prefires
  std::string Title;
  std::string Date;  // "2026-12-09": what {date} becomes
};

struct FiringScriptPlan {
  std::string ProfileName;
  std::vector<CueAddress> Addresses;  // one per cue, in list order
  size_t AssignedCount = 0;
  // The largest distance a time moved to its tick, and the cue that moved it.
  double LargestRoundingMs = 0;
  int LargestRoundingLine = 0;
  std::vector<std::string> Problems;  // each refuses the script
  std::string Bytes;                  // the script, in the profile's encoding; empty with problems

  bool Refused() const { return !Problems.empty(); }
};

FiringScriptPlan PlanFiringScript(const FiringScriptInput& input, const FiringProfile& profile);

// What the plan did, for the user to read before the script is written: cues, automatic
// addresses, modules used, largest rounding, and the problems when refused.
std::string FiringScriptReport(const FiringScriptPlan& plan);

// Writes the script through a temporary file; refused for a plan with problems.
Result<> WriteFiringScript(const std::filesystem::path& file, const FiringScriptPlan& plan);

// What the cue fires: its product's name, else its device's, else nothing.
std::string CueProductName(const Cue& cue, const CueTableContext& context);

// "2026-12-09", today's local date.
std::string TodayText();

}  // namespace orvane
