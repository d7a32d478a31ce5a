#pragma once
// Integer text as the form's edits and the device files hold it: optional leading blanks,
// an optional sign, then decimal digits or "$"/"0x" followed by hexadecimal digits.

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane {

// Decimal values must fit int32; hexadecimal ones may use all 32 bits and wrap
// ("$FFFFFFFF" is -1). Anything after the digits, trailing blanks included, is refused.
std::optional<int32_t> ParseInteger(std::string_view text);

// 0..15 for a hexadecimal digit of either case, -1 for any other character.
int HexDigitValue(char c);

}  // namespace orvane
