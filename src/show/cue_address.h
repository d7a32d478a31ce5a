#pragma once
// A module or pin number as cues.csv, the cue table and scripts write it.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/integer_text.h"
#include "show/cue_list.h"

namespace orvane {

// Digits only, 0 to kMaxCueAddress; ParseInteger alone would take a sign or "$" hexadecimal.
inline std::optional<int32_t> ParseCueAddress(std::string_view text) {
  const bool digits = !text.empty() && text.size() <= 9 &&
                      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const std::optional<int32_t> value = digits ? ParseInteger(text) : std::nullopt;
  if (!value || *value > kMaxCueAddress) return std::nullopt;
  return value;
}

}  // namespace orvane
