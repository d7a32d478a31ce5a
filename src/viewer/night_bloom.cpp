#include "viewer/night_bloom.h"

namespace orvane {

std::vector<BloomLevel> BloomLevels(int32_t width, int32_t height, int levels) {
  std::vector<BloomLevel> out;
  int32_t w = width / 2, h = height / 2;
  for (int i = 0; i < levels; ++i) {
    w /= 2;
    h /= 2;
    if (w < 2 || h < 2) break;
    out.push_back({w, h});
  }
  return out;
}

}  // namespace orvane
