#pragma once
// Text from files (labels, values, names) on its way to a terminal. Control characters,
// the C1 controls and bytes that are not UTF-8 are written as "\xNN", so that a crafted
// label cannot move the cursor, recolour the screen or retitle the window. Line breaks and
// tabs stay; everything else passes unchanged.

#include <string>
#include <string_view>

namespace orvane {

std::string TerminalText(std::string_view text);

}  // namespace orvane
