#pragma once
// JSON read from outside is checked for nesting before a parser sees it, so that a file of
// brackets cannot exhaust the stack of a parser or a destructor.

#include <cstddef>
#include <string_view>

namespace orvane {

// Brackets nested deeper than `maxDepth`, counted outside strings.
inline bool JsonNestedDeeperThan(std::string_view text, int maxDepth) {
  int depth = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > maxDepth) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

}  // namespace orvane
