#include "image_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include <jpeglib.h>

namespace orvane::tools {

Rgb Mix(const Rgb& a, const Rgb& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(const Rgb& c, float k) { return {c.r * k, c.g * k, c.b * k}; }

namespace {

unsigned char ToByte(float v) { return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

void Put16(std::vector<unsigned char>& out, unsigned v) {
  out.push_back(static_cast<unsigned char>(v & 0xFF));
  out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void Put32(std::vector<unsigned char>& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

void WriteJpeg(const Picture& picture, const std::string& path, int quality) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(picture.Width);
  info.image_height = static_cast<JDIMENSION>(picture.Height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.optimize_coding = TRUE;
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(picture.Width) * 3);
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      const Rgb& c = picture.Pixels[static_cast<size_t>(y) * picture.Width + x];
      row[3 * x] = ToByte(c.r);
      row[3 * x + 1] = ToByte(c.g);
      row[3 * x + 2] = ToByte(c.b);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
}

void WriteBmp(const Picture& picture, const std::string& path, unsigned imageSizeField) {
  const unsigned rowBytes = static_cast<unsigned>(picture.Width) * 3;
  if (rowBytes % 4 != 0) throw std::runtime_error("BMP rows would need padding");
  const unsigned pixelBytes = rowBytes * static_cast<unsigned>(picture.Height);
  const unsigned dataBytes = std::max(pixelBytes, imageSizeField);
  std::vector<unsigned char> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + dataBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<unsigned>(picture.Width));
  Put32(out, static_cast<unsigned>(picture.Height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, imageSizeField);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = picture.Height - 1; y >= 0; --y) {  // bottom row first
    for (int x = 0; x < picture.Width; ++x) {
      const Rgb& c = picture.Pixels[static_cast<size_t>(y) * picture.Width + x];
      out.push_back(ToByte(c.b));
      out.push_back(ToByte(c.g));
      out.push_back(ToByte(c.r));
    }
  }
  out.resize(54 + dataBytes, 0);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  if (std::fclose(file) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace orvane::tools
