#pragma once
// Writes 8-bit RGB pictures as PNG files.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// `rgb` holds height rows of width pixels, top row first. The error text on failure.
std::string WritePng(const std::string& path, const std::vector<uint8_t>& rgb, int32_t width, int32_t height);

}  // namespace orvane
