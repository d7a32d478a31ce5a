// Feeds any bytes to the profile reader; a profile it reads must give a script of a small
// show with every field, and a refusal must say why.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/firing_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const orvane::Result<orvane::FiringProfile> read = orvane::ReadFiringProfile(bytes, "fuzz.json");
  if (!read) {
    if (read.Message().empty()) std::abort();
    return 0;
  }
  std::vector<orvane::Cue> cues(3);
  cues[0] = {0, 101, 0.5f, std::nullopt, std::nullopt, "caf\xC3\xA9, \"one\"", 2, "", 1, 1};
  cues[1] = {1250, 102, std::nullopt, 1.0f, std::nullopt, "two\nlines", 3, "A"};
  cues[2] = {86'400'000, 101, std::nullopt, std::nullopt, std::nullopt, "", 4, "A"};
  orvane::ShowSite site;
  site.Positions = {{"A", 0, 0, std::nullopt}};
  const orvane::ProductTable products;
  const orvane::FiringScriptPlan plan = orvane::PlanFiringScript(
      {cues, orvane::CueTableContext{site, products, nullptr, {}}, "Title {date}", "2026-12-09"}, read.Value());
  if (!plan.Refused() && plan.Bytes.empty()) std::abort();
  if (plan.Addresses.size() != cues.size()) std::abort();
  return 0;
}
