#pragma once
// Tileable value noise: every pattern repeats across the image edges, so the textures
// repeat without seams on the models.

#include <cstdint>

namespace orvane::tools {

uint32_t Hash(int32_t x, int32_t y, uint32_t seed);
// A value in [0, 1) per integer lattice point.
float Lattice(int32_t x, int32_t y, uint32_t seed);
// Smooth noise in [0, 1) at (x, y) in lattice units, repeating every periodX, periodY.
float ValueNoise(float x, float y, int32_t periodX, int32_t periodY, uint32_t seed);
// Fractal sum over `octaves`, in [0, 1); (u, v) in image fractions [0, 1), `cellsX` x
// `cellsY` lattice cells across the image for the first octave.
float Fbm(float u, float v, int32_t cellsX, int32_t cellsY, int octaves, uint32_t seed);

}  // namespace orvane::tools
