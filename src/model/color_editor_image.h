#pragma once
// A plain RGB pixel buffer, top row first, that the colour editor's graph is drawn into.
// Writes outside the buffer are dropped, as a clipped device context drops them.

#include <cstdint>
#include <vector>

#include "model/color_segment.h"

namespace orvane {

struct Rgb8 {
  uint8_t R = 0;
  uint8_t G = 0;
  uint8_t B = 0;

  bool operator==(const Rgb8&) const = default;
};

inline constexpr Rgb8 kWhite{255, 255, 255};
inline constexpr Rgb8 kBlack{0, 0, 0};

// Red, green and blue of a 0x00BBGGRR colour.
inline Rgb8 RgbOf(uint32_t color) {
  const std::array<uint8_t, 3> b = ColorBytes(color);
  return {b[0], b[1], b[2]};
}

class RgbImage {
 public:
  RgbImage(int width, int height, Rgb8 fill = kWhite);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  Rgb8 Pixel(int x, int y) const;  // black outside the buffer
  void SetPixel(int x, int y, Rgb8 color);
  // Pixels (x, y0) .. (x, y1 - 1), as a pen draws a vertical line without its last point.
  void VerticalLine(int x, int y0, int y1, Rgb8 color);

  // Three bytes per pixel, rows of Width() * 3 bytes.
  const uint8_t* Bytes() const { return bytes_.data(); }

 private:
  int width_;
  int height_;
  std::vector<uint8_t> bytes_;
};

}  // namespace orvane
