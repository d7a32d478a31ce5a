#include "model/color_editor_image.h"

#include <algorithm>

namespace orvane {

RgbImage::RgbImage(int width, int height, Rgb8 fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bytes_(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3) {
  for (size_t i = 0; i < bytes_.size(); i += 3) {
    bytes_[i] = fill.R;
    bytes_[i + 1] = fill.G;
    bytes_[i + 2] = fill.B;
  }
}

Rgb8 RgbImage::Pixel(int x, int y) const {
  if (!Contains(x, y)) return kBlack;
  const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
  return {bytes_[i], bytes_[i + 1], bytes_[i + 2]};
}

void RgbImage::SetPixel(int x, int y, Rgb8 color) {
  if (!Contains(x, y)) return;
  const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
  bytes_[i] = color.R;
  bytes_[i + 1] = color.G;
  bytes_[i + 2] = color.B;
}

void RgbImage::VerticalLine(int x, int y0, int y1, Rgb8 color) {
  if (x < 0 || x >= width_) return;
  for (int y = std::max(y0, 0); y < std::min(y1, height_); ++y) SetPixel(x, y, color);
}

}  // namespace orvane
