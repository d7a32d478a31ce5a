#pragma once
// Fading overlay text lines in panel pixels. A slot (a TTextAtt* held by its owner) keeps a
// line unique per purpose and lets the owner fade it out again.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

struct TTextAtt {
  int32_t X = 0;
  int32_t Y = 0;  // baseline, from the bottom edge
  float Red = 0, Green = 0, Blue = 0;
  float Alpha = 0;
  float Step = 0;
  std::string Text;
  bool FadingOut = false;
};

using OverlaySlot = TTextAtt*;

class OverlayList {
 public:
  // Nothing happens when the slot already holds a line.
  void AddOverlay(const std::string& text, int32_t x, int32_t y, float red, float green, float blue, float alpha,
                  float step, OverlaySlot& slot);
  // Starts the fade-out of the slot's line; a slot whose line is gone is left unchanged.
  void RemoveOverlay(OverlaySlot& slot);

  bool Contains(const TTextAtt* line) const;
  bool Empty() const { return lines_.empty(); }
  size_t Size() const { return lines_.size(); }
  const TTextAtt& At(size_t index) const { return *lines_[index]; }

  // Visits the lines last to first; after each visit the line's alpha moves by its step and
  // a line that has faded out is freed.
  template <typename DrawLine>
  void DrawAndFade(DrawLine&& draw) {
    for (size_t i = lines_.size(); i-- > 0;) {
      draw(static_cast<const TTextAtt&>(*lines_[i]));
      if (Fade(*lines_[i])) lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }

  void Clear() { lines_.clear(); }

 private:
  // True when the line has faded out and is to be freed.
  static bool Fade(TTextAtt& line);

  std::vector<std::unique_ptr<TTextAtt>> lines_;
};

}  // namespace orvane
