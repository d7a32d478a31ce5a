#pragma once
// GLSL 330 core sources of the night look's passes.

namespace orvane::night_shaders {

// A triangle that covers the viewport; vUv runs 0 ... 1 over it.
extern const char* const kFullScreenVertex;

// Sky gradient, horizon silhouette, ground (field or water with the rippled reflection)
// and the burst light on all of them, per pixel from the camera's ray.
extern const char* const kEnvironmentFragment;

// The faint star field: points at infinity, hidden behind the silhouette.
extern const char* const kSkyStarsVertex;
extern const char* const kSkyStarsFragment;

// Firework stars: one capsule per sprite (see night_sprites.h), a Gaussian across it.
extern const char* const kStarsVertex;
extern const char* const kStarsFragment;

// Bloom: a 4 x 4 box to half size (no per-pixel weighting), then a tent back up, added.
extern const char* const kDownsampleFragment;
extern const char* const kUpsampleFragment;

// Stars and their bloom mixed, the surroundings added, tone mapped (AgX), the title card,
// dither, 8 bits; or the linear sum.
extern const char* const kCompositeFragment;

}  // namespace orvane::night_shaders
