#include "app/render_args.h"

#include <cmath>
#include <vector>

#include "model/decimal_text.h"
#include "model/integer_text.h"
#include "export/video_export_run.h"

namespace orvane {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

std::optional<int64_t> NonNegative(const std::string& text) {
  const std::optional<int32_t> v = ParseInteger(text);
  if (!v || *v < 0) return std::nullopt;
  return *v;
}

}  // namespace

std::optional<std::pair<int32_t, int32_t>> ParseRenderSize(const std::string& text) {
  const std::vector<std::string> parts = Split(text, 'x');
  if (parts.size() != 2) return std::nullopt;
  const auto w = ParseInteger(parts[0]), h = ParseInteger(parts[1]);
  if (!w || !h || *w < kMinPictureSide || *h < kMinPictureSide || *w > kMaxPictureSide || *h > kMaxPictureSide)
    return std::nullopt;
  return std::pair{*w, *h};
}

std::optional<FrameRange> ParseFrameRange(const std::string& text) {
  const std::vector<std::string> parts = Split(text, '-');
  if (parts.size() > 2) return std::nullopt;
  const auto first = NonNegative(parts[0]);
  if (!first) return std::nullopt;
  FrameRange range{*first, parts.size() == 1 ? *first : INT64_MAX};
  if (parts.size() == 2 && !parts[1].empty()) {
    const auto last = NonNegative(parts[1]);
    if (!last || *last < *first) return std::nullopt;
    range.Last = *last;
  }
  return range;
}

std::optional<RenderScenery> ParseScenery(const std::string& text) {
  if (text == "model") return RenderScenery::Model;
  if (text == "grid") return RenderScenery::Grid;
  if (text == "none") return RenderScenery::None;
  return std::nullopt;
}

std::optional<RenderParticles> ParseParticles(const std::string& text) {
  if (text == "sprites") return RenderParticles::Sprites;
  if (text == "quads") return RenderParticles::Quads;
  return std::nullopt;
}

std::optional<RenderLook> ParseLook(const std::string& text) {
  if (text == "night") return RenderLook::Night;
  if (text == "classic") return RenderLook::Classic;
  return std::nullopt;
}

std::optional<NightGround> ParseGround(const std::string& text) {
  if (text == "field") return NightGround::kField;
  if (text == "water") return NightGround::kWater;
  return std::nullopt;
}

std::optional<RenderCamera> ParseRenderCamera(const std::string& text) {
  // The decimal separator may be ',' as well, so the five values are split on ';' too.
  std::vector<std::string> parts = Split(text, ';');
  if (parts.size() != 5) parts = Split(text, ',');
  if (parts.size() != 5) return std::nullopt;
  float v[5];
  for (int i = 0; i < 5; ++i) {
    const std::optional<double> d = ReadDecimal(parts[static_cast<size_t>(i)], '.');
    if (!d || !std::isfinite(*d) || std::fabs(*d) > 1e6) return std::nullopt;
    v[i] = static_cast<float>(*d);
  }
  if (v[1] < -89 || v[1] > 89) return std::nullopt;
  return RenderCamera{v[0], v[1], v[2], v[3], v[4]};
}

}  // namespace orvane
