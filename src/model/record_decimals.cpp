#include "model/record_decimals.h"

#include <charconv>
#include <cmath>

namespace orvane {
namespace {

template <typename T>
std::string ShortestText(T value) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

}  // namespace

std::optional<float> ReadFloat32(std::string_view text, char separator) {
  const auto value = ReadDecimal(text, separator);
  if (!value) return std::nullopt;
  const float f = static_cast<float>(*value);
  if (std::isinf(f)) return std::nullopt;
  return f;
}

// Only a caller outside the readers can hold a non-finite value; it is written as 0
// rather than as a text that would end the next load.
std::string Float32Text(float value) {
  if (!std::isfinite(value)) return "0";
  std::string text = ShortestText(value);
  // The reader goes through double; where that double rounding could land on the other
  // float, the exact double text is written instead.
  const auto back = TextToFloat(text, '.');
  if (!back || static_cast<float>(*back) != value) text = ShortestText(static_cast<double>(value));
  return text;
}

std::string Float64Text(double value) { return std::isfinite(value) ? ShortestText(value) : "0"; }

}  // namespace orvane
