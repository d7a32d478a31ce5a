#pragma once
// Decimal text as the user and the device files write it: "." or "," as the decimal
// separator, whatever the locale. NormalizeNumber turns such a text into the locale's
// form; TextToFloat is the locale's strict conversion that follows it.

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The decimal separator of the current C locale (LC_NUMERIC).
char LocaleDecimalSeparator();

std::string NormalizeNumber(std::string_view text, char separator = LocaleDecimalSeparator());

// Accepts optional blanks around an optional sign, digits with at most one `separator`,
// and an optional exponent; refuses everything else, thousands separators included.
std::optional<double> TextToFloat(std::string_view text, char separator = LocaleDecimalSeparator());

// The conversion's message for a refused text.
std::string InvalidFloatMessage(std::string_view text);

// NormalizeNumber followed by TextToFloat, as the form and the loader read decimals.
std::optional<double> ReadDecimal(std::string_view text, char separator = LocaleDecimalSeparator());

}  // namespace orvane
