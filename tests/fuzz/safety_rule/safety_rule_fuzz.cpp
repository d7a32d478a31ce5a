// Feeds any bytes to the safety rule reader; a rule it reads must give a finite, positive
// circle for any calibre, and a refusal must say why.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/safety_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const orvane::Result<orvane::SafetyRule> read = orvane::ReadSafetyRule(bytes, "fuzz.json");
  if (!read) {
    if (read.Message().empty()) std::abort();
    return 0;
  }
  for (const double calibre : {0.0, 1.0, 75.0, 300.0}) {
    const double d = orvane::RuleDistance(read.Value(), calibre);
    if (!std::isfinite(d) || d < 0) std::abort();
  }
  if (read.Value().Name.empty()) std::abort();
  return 0;
}
