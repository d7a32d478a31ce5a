#pragma once
// Float RGB pictures (row 0 at the top) and the writers for JPEG and 24-bit BMP.

#include <string>
#include <vector>

namespace orvane::tools {

struct Rgb {
  float r = 0.0f, g = 0.0f, b = 0.0f;
};

Rgb Mix(const Rgb& a, const Rgb& b, float t);
Rgb Scale(const Rgb& c, float k);

struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<Rgb> Pixels;  // row 0 at the top
  Picture(int width, int height) : Width(width), Height(height), Pixels(static_cast<size_t>(width) * height) {}
  Rgb& At(int x, int y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// Baseline JPEG with the given quality; throws on failure.
void WriteJpeg(const Picture& picture, const std::string& path, int quality);
// Uncompressed 24-bit BMP; `imageSizeField` is written into the header as given, and the
// data is padded with zero bytes up to it.
void WriteBmp(const Picture& picture, const std::string& path, unsigned imageSizeField);

}  // namespace orvane::tools
