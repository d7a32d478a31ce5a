#pragma once
// What the display window checks about its GL context at start, and the fatal message
// for the first check that fails.

#include <optional>
#include <string>

namespace orvane {

struct ContextFacts {
  bool HasWindow = false;       // the panel has a native window to draw on
  bool FormatFound = false;     // RGBA colour with a depth buffer
  bool FormatSet = false;       // double-buffered, with fixed-function GL (compatibility)
  bool ContextCreated = false;  // a valid context exists
  bool ContextCurrent = false;  // and is current on the main thread
};

inline constexpr const char* kFatalCaption = "Error";

std::optional<std::string> ContextFailure(const ContextFacts& facts);

}  // namespace orvane
