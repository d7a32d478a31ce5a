#pragma once
// 8-bit RGB pictures as PNG files.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// `rgb` holds height rows of width pixels, top row first. The error text on failure.
std::string WritePng(const std::string& path, const std::vector<uint8_t>& rgb, int32_t width, int32_t height);

struct PngPicture {
  int32_t Width = 0, Height = 0;
  std::vector<uint8_t> Rgb;  // top row first
};

// Any PNG, converted to 8-bit RGB; sides up to 16384. The error text on failure.
std::string ReadPng(const std::string& path, PngPicture& picture);

}  // namespace orvane
