#pragma once
// The title card of a night video: the show's title set in a font, faded in and out over
// the first two seconds.

#include <string_view>

#include "viewer/font_service.h"
#include "viewer/night_scene.h"

namespace orvane {

inline constexpr double kTitleSeconds = 2.0;
inline constexpr double kTitleFadeInSeconds = 0.3, kTitleFadeOutSeconds = 0.5;
// Longer titles are cut: a card is one line.
inline constexpr size_t kTitleMostCharacters = 80;
// The font renders at this many times the card's size; the card averages it down.
inline constexpr int kTitleOversampling = 3;

// 0 ... 1 at show time `seconds`; 0 from kTitleSeconds on.
float TitleOpacity(double seconds);

// The title (UTF-8) in `font`, which renders at kTitleOversampling times the wanted height;
// characters the font's 8-bit codes do not reach are set as '?'. Empty for an empty or
// blank title. The opacity is left at 0.
NightTitle MakeTitleCard(std::string_view title, FontService& font);

}  // namespace orvane
