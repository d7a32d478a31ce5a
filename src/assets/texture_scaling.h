#pragma once
// Scaling textures to power-of-two sides before the mipmap upload. GLU would scale them
// itself, but the GLU of these systems leaves the top row black when it scales only the
// width, which shows as a dark seam wherever a texture repeats; so the program scales
// them here, to the sides GLU would pick, and hands GLU sides it only has to halve.

#include <cstdint>

#include "assets/texture_image.h"

namespace orvane {

// The power of two nearest to `side` (ties go up), as GLU picks it; 0 for 0.
int32_t NearestPowerOfTwo(int32_t side);

// The image scaled to width x height by area averaging: every target texel is the mean of
// the source area it covers. Rows stay bottom first.
TextureImage ScaleTextureImage(const TextureImage& image, int32_t width, int32_t height);

}  // namespace orvane
