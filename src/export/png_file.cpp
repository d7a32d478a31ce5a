#include "export/png_file.h"

#include <png.h>

#include <cstdio>
#include <cstring>

#include "util/safe_file.h"

namespace orvane {

std::string WritePng(const std::string& path, const std::vector<uint8_t>& rgb, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || rgb.size() < static_cast<size_t>(width) * static_cast<size_t>(height) * 3) {
    return "no picture to write to " + path;
  }
  SafeFile target(path);
  if (!target.Opened()) return "cannot create " + path + ": " + target.ErrorText();
  std::FILE* file = target.Stream();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  std::string error;
  if (png == nullptr || info == nullptr) {
    error = "out of memory writing " + path;
  } else if (setjmp(png_jmpbuf(png)) != 0) {
    error = "cannot write " + path;
  } else {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < height; ++y) {
      png_write_row(png, rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3);
    }
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(&png, &info);
  // A picture cut short by a full disk never appears under its name.
  if (error.empty() && !target.Commit()) error = "cannot write " + path + ": " + target.ErrorText();
  return error;
}

std::string ReadPng(const std::string& path, PngPicture& picture) {
  constexpr png_uint_32 kMaxSide = 16384;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return path + ": " + image.message;
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    return path + ": picture size out of range";
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) return path + ": " + image.message;
  picture = {static_cast<int32_t>(image.width), static_cast<int32_t>(image.height), std::move(rgb)};
  return "";
}

}  // namespace orvane
