#include "viewer/overlays.h"

#include <algorithm>

namespace orvane {

void OverlayList::AddOverlay(const std::string& text, int32_t x, int32_t y, float red, float green, float blue,
                             float alpha, float step, OverlaySlot& slot) {
  if (slot != nullptr) return;
  auto line = std::make_unique<TTextAtt>(TTextAtt{x, y, red, green, blue, alpha, step, text, false});
  slot = line.get();
  lines_.push_back(std::move(line));
}

void OverlayList::RemoveOverlay(OverlaySlot& slot) {
  if (slot == nullptr || !Contains(slot)) return;
  slot->FadingOut = true;
  slot = nullptr;
}

bool OverlayList::Contains(const TTextAtt* line) const {
  return std::any_of(lines_.begin(), lines_.end(),
                     [line](const std::unique_ptr<TTextAtt>& l) { return l.get() == line; });
}

bool OverlayList::Fade(TTextAtt& line) {
  if (!line.FadingOut) {
    if (line.Alpha < 1) line.Alpha = std::min(line.Alpha + line.Step, 1.0f);
    return false;
  }
  if (line.Alpha > 0) line.Alpha = std::max(line.Alpha - line.Step, 0.0f);
  return line.Alpha == 0;
}

}  // namespace orvane
