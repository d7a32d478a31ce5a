#include "viewer/font_service.h"

namespace orvane {

std::string OverlayText(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    const auto u = static_cast<unsigned char>(c);
    if (u < kFirstFontChar || u >= kFirstFontChar + kFontCharCount) c = kReplacementChar;
  }
  return shown;
}

}  // namespace orvane
