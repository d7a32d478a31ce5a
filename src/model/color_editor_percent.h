#pragma once
// The check every position typed into the colour editor goes through.

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/user_dialogs.h"

namespace orvane {

inline constexpr const char* kInvalidPercentMessage = "Error, specify a valid number.";

// Drops every "%" and every blank, then reads a whole number 0..100 ("50 %" gives 50).
// Anything else shows the warning and gives nothing, which ends the asking operation.
std::optional<uint8_t> CheckPercent(std::string_view text, UserDialogs& dialogs);

}  // namespace orvane
