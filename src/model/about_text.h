#pragma once
// The texts the program shows about itself: its title, the six About lines with their
// places and fades, and the help text. The title and the About lines are kept only in
// Base64 and decoded each time they are shown.

#include <array>
#include <cstdint>
#include <string>

namespace orvane {

// The stored title, "Orvane" once decoded: the main window's caption and About line 1.
inline constexpr const char* kStoredTitle = "T3J2YW5l";

struct AboutLine {
  const char* Stored;  // Base64
  int32_t OffsetY;     // from the panel's vertical middle, up positive
  float Color[3];      // red, green, blue
  float Step;          // alpha change per drawn frame
};

inline constexpr int kAboutLineCount = 6;

inline constexpr std::array<AboutLine, kAboutLineCount> kAboutLines = {{
    {kStoredTitle, 45, {1.0f, 0.5f, 0.5f}, 0.05f},                                                // title
    {"RGVzaWduZWQgYW5kIHByb2dyYW1tZWQgYnkgdGhlIE9ydmFuZSB0ZWFt", 30, {0.6f, 0.6f, 1.0f}, 0.04f},  // authors, first line
    {"YXMgYSBzaW11bGF0b3Igb2YgZmlyZXdvcmsgc2hvd3MgZm9yIHRoZSBkZXNrdG9wLCB2ZXJzaW9uIHt2ZXJzaW9ufQ==",
     15,
     {0.6f, 0.6f, 1.0f},
     0.03f},  // authors, second line, with the version
    {"RnJlZSB0byB1c2UgYW5kIHNoYXJlLCB3aXRob3V0IGFueSB3YXJyYW50eQ==", -15, {0.6f, 1.0f, 1.0f}, 0.02f},  // rights
    {"aHR0cHM6Ly9vcnZhbmUuZXhhbXBsZS5vcmc=", -30, {0.6f, 1.0f, 1.0f}, 0.015f},                         // web address
    {"aHR0cHM6Ly9vcnZhbmUuZXhhbXBsZS5vcmcvZGV2aWNlcw==", -45, {0.6f, 1.0f, 1.0f}, 0.012f},             // web address
}};

// Where a decoded About line shows the program's version.
inline constexpr const char* kVersionMark = "{version}";

std::string DecodedTitle();
// The line's text with kVersionMark replaced by the program's version.
std::string DecodedAboutLine(int index);

struct OverlayPlace {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const OverlayPlace&) const = default;
};

// Centred horizontally on the panel (div truncating toward zero) at the line's height.
OverlayPlace AboutLinePlace(int index, int32_t panelWidth, int32_t panelHeight, int32_t textWidth);
// The "Compiling..." text: centred, at half the panel's height.
OverlayPlace CentredPlace(int32_t panelWidth, int32_t panelHeight, int32_t textWidth);

inline constexpr const char* kCompilingText = "Compiling...";

// The "Help" link's box: eleven lines joined by CR LF, an empty line after the first.
std::string HelpText();

}  // namespace orvane
