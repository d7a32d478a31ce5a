#pragma once
// Decimal values of the device record (float32 positions and prices, the float64 date)
// read from and written to text.

#include <optional>
#include <string>
#include <string_view>

#include "model/decimal_text.h"

namespace orvane {

// ReadDecimal, refusing values outside the float32 range as well: a record never holds
// an infinite position or price.
std::optional<float> ReadFloat32(std::string_view text, char separator = LocaleDecimalSeparator());

// The shortest text with "." that ReadFloat32 / ReadDecimal read back to the same value
// (non-finite values, which no reader makes, are written as "0").
std::string Float32Text(float value);
std::string Float64Text(double value);

}  // namespace orvane
