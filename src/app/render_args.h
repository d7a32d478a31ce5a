#pragma once
// The drawing options of `orvane-cli render` and `preview`, read from their texts.

#include <optional>
#include <string>

#include "export/show_render.h"

namespace orvane {

struct FrameRange {
  int64_t First = 0, Last = INT64_MAX;
};

// "392x324"; sizes 16 ... 4096.
std::optional<std::pair<int32_t, int32_t>> ParseRenderSize(const std::string& text);
// "A-B", "A-" or "A"; 0 <= A <= B.
std::optional<FrameRange> ParseFrameRange(const std::string& text);
// "model", "grid" or "none".
std::optional<RenderScenery> ParseScenery(const std::string& text);
// "sprites" or "quads".
std::optional<RenderParticles> ParseParticles(const std::string& text);
// "night" or "classic".
std::optional<RenderLook> ParseLook(const std::string& text);
// "field" or "water".
std::optional<NightGround> ParseGround(const std::string& text);
// "yaw,pitch,x,y,z", decimals as the form reads them; pitch within -89 ... 89.
std::optional<RenderCamera> ParseRenderCamera(const std::string& text);

}  // namespace orvane
