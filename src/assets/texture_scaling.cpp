#include "assets/texture_scaling.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "util/rounding.h"

namespace orvane {
namespace {

struct Tap {
  int32_t Source;
  float Weight;
};

// For each target index, the source indices it covers with their share of its area.
std::vector<std::vector<Tap>> AreaTaps(int32_t from, int32_t to) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(to));
  const double step = static_cast<double>(from) / to;
  for (int32_t i = 0; i < to; ++i) {
    const double start = i * step;
    const double end = start + step;
    for (int32_t s = static_cast<int32_t>(start); s < from && s < end; ++s) {
      const double covered = std::min<double>(end, s + 1) - std::max<double>(start, s);
      if (covered > 0) taps[i].push_back({s, static_cast<float>(covered / step)});
    }
  }
  return taps;
}

}  // namespace

int32_t NearestPowerOfTwo(int32_t side) {
  if (side <= 0) return 0;
  int32_t p = 1;
  while (p <= side / 2) p *= 2;
  // The bit below the top one decides: from 3 * p / 2 on it rounds up.
  return p >= 2 && side >= p + p / 2 ? p * 2 : p;
}

TextureImage ScaleTextureImage(const TextureImage& image, int32_t width, int32_t height) {
  const int32_t channels = image.Format == TexturePixelFormat::Rgb ? 3 : 4;
  const auto columns = AreaTaps(image.Width, width);
  const auto rows = AreaTaps(image.Height, height);
  // Columns first into floats, then rows into bytes.
  std::vector<float> across(static_cast<size_t>(width) * image.Height * channels, 0.0f);
  for (int32_t y = 0; y < image.Height; ++y) {
    const uint8_t* in = image.Pixels.data() + static_cast<size_t>(y) * image.Width * channels;
    float* out = across.data() + static_cast<size_t>(y) * width * channels;
    for (int32_t x = 0; x < width; ++x)
      for (const Tap& t : columns[x])
        for (int32_t c = 0; c < channels; ++c) out[x * channels + c] += in[t.Source * channels + c] * t.Weight;
  }
  TextureImage scaled;
  scaled.Width = width;
  scaled.Height = height;
  scaled.Format = image.Format;
  scaled.Pixels.resize(static_cast<size_t>(width) * height * channels);
  std::vector<float> sum(static_cast<size_t>(width) * channels);
  for (int32_t y = 0; y < height; ++y) {
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (const Tap& t : rows[y]) {
      const float* in = across.data() + static_cast<size_t>(t.Source) * width * channels;
      for (size_t k = 0; k < sum.size(); ++k) sum[k] += in[k] * t.Weight;
    }
    uint8_t* out = scaled.Pixels.data() + static_cast<size_t>(y) * width * channels;
    for (size_t k = 0; k < sum.size(); ++k) out[k] = static_cast<uint8_t>(std::clamp(RoundHalfEven(sum[k]), 0, 255));
  }
  return scaled;
}

}  // namespace orvane
