#pragma once
// The blue-red swap the image decoders share.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace orvane {

// Swaps the first and third byte of every `stride`-byte pixel.
inline void SwapRedBlue(std::vector<uint8_t>& pixels, size_t stride) {
  for (size_t i = 0; i + 2 < pixels.size(); i += stride) std::swap(pixels[i], pixels[i + 2]);
}

}  // namespace orvane
