#include "model/main_window_values.h"

#include <cmath>

#include "model/decimal_text.h"

namespace orvane {

std::string TrackHint(int position, HintUnit unit) {
  switch (unit) {
    case HintUnit::Degrees: return std::to_string(position) + "\u00B0";
    case HintUnit::Percent: return std::to_string(position) + "%";
    case HintUnit::Tenths: {
      // Track positions are whole numbers, so the tenth is exact without float formatting.
      const int magnitude = position < 0 ? -position : position;
      return (position < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
    }
  }
  return {};
}

float BoxValue(std::string_view text) {
  if (text.empty()) return 0.0f;
  const float value = static_cast<float>(ReadDecimal(text).value_or(0.0));
  // "1e999" passes the conversion but no position or scale can use it.
  return std::isfinite(value) ? value : 0.0f;
}

}  // namespace orvane
