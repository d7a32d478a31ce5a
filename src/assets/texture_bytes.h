#pragma once
// Little-endian fields and the blue-red swap the image decoders share.

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace orvane {

// Callers check that the bytes are there.
inline uint16_t LittleU16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

inline uint32_t LittleU32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Swaps the first and third byte of every `stride`-byte pixel.
inline void SwapRedBlue(std::vector<uint8_t>& pixels, size_t stride) {
  for (size_t i = 0; i + 2 < pixels.size(); i += stride) std::swap(pixels[i], pixels[i + 2]);
}

}  // namespace orvane
