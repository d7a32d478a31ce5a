#pragma once
// What the main window's controls show and hand on: track-bar tooltips and the decimals
// typed into the position and scale boxes.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

enum class HintUnit {
  Degrees,  // "90°"
  Percent,  // "50%"
  Tenths,   // position / 10 with one decimal: 5 -> "0.5"
};

std::string TrackHint(int position, HintUnit unit);

// A position or scale box read for the display: a text the conversion refuses, or an
// empty one, gives 0; so does a value too large for a float.
float BoxValue(std::string_view text);

}  // namespace orvane
