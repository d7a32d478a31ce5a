#include "model/about_text.h"

#include <string_view>

#include "util/base64.h"
#include "util/version.h"

namespace orvane {
namespace {

// As the box's resource text holds them: "&&" stands for one "&".
constexpr std::array<const char*, 11> kHelpLines = {
    "Visualization control: Keyboard, Mouse && Joystick",
    "Keyboard or Joystick: controls camera movements",
    "Left click + mouse movement: changes the camera's viewpoint",
    "Right click + mouse movement or control Z(Joystick): changes camera's height",
    "Enter or Button 1(Joystick): initiates effect visualization",
    "Space, Pause or Button 2(Joystick): pause/continue effect execution",
    "F1 or Button 3(Joystick): switches between fixed viewpoint and camera",
    "F2 or Button 4(Joystick): restarts the camera's position",
    "F3: shows/hides observation directions",
    "F4: changes current scenario",
    "F5: saves current frame in BMP file",
};

std::string WithSingleAmpersands(std::string text) {
  for (size_t at = text.find("&&"); at != std::string::npos; at = text.find("&&", at + 1)) text.erase(at, 1);
  return text;
}

}  // namespace

std::string DecodedTitle() { return Base64Decode(kStoredTitle); }

std::string DecodedAboutLine(int index) {
  if (index < 0 || index >= kAboutLineCount) return {};
  std::string text = Base64Decode(kAboutLines[static_cast<size_t>(index)].Stored);
  const std::string_view mark = kVersionMark;
  if (const size_t at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), ProgramVersion());
  return text;
}

OverlayPlace CentredPlace(int32_t panelWidth, int32_t panelHeight, int32_t textWidth) {
  return {(panelWidth - textWidth) / 2, panelHeight / 2};
}

OverlayPlace AboutLinePlace(int index, int32_t panelWidth, int32_t panelHeight, int32_t textWidth) {
  OverlayPlace place = CentredPlace(panelWidth, panelHeight, textWidth);
  if (index >= 0 && index < kAboutLineCount) place.Y += kAboutLines[static_cast<size_t>(index)].OffsetY;
  return place;
}

std::string HelpText() {
  std::string text;
  for (size_t i = 0; i < kHelpLines.size(); ++i) {
    if (i > 0) text += "\r\n";
    if (i == 1) text += "\r\n";
    text += WithSingleAmpersands(kHelpLines[i]);
  }
  return text;
}

}  // namespace orvane
