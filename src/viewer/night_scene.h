#pragma once
// What the night look draws, as plain data in metres: the site, the camera, the stars of one
// frame with their motion, and the burst lights. The renderer knows nothing of show folders.
// Metres: x and z as the scene's axes, y the height above the ground.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

enum class NightGround { kField, kWater };

// The defaults are those of a show folder without a site (a test holds them to it).
struct NightSite {
  float MetresPerUnit = 20;  // > 0 and finite
  NightGround Ground = NightGround::kField;
  float GroundY = -2;  // scene units of ground level
  bool operator==(const NightSite&) const = default;
};

using Vec3 = std::array<float, 3>;

struct NightCamera {
  Vec3 Eye{0, 1.7f, 160};  // metres
  Vec3 Target{0, 60, 0};   // metres
  float FovYDegrees = 50;  // vertical
  bool operator==(const NightCamera&) const = default;
};

struct NightStar {
  Vec3 Position{};     // metres, where the star is at the end of the exposure
  Vec3 Motion{};       // metres moved during the exposure
  Vec3 Light{};        // colour times alpha, 0 ... 1 each for a record's star
  float HalfSize = 0;  // metres
};

// A cluster of stars seen as one point light on the sky and the ground.
struct NightLight {
  Vec3 Position{};  // metres
  Vec3 Power{};     // star light summed over the cluster: Light times HalfSize squared
};

inline constexpr int kMaxNightLights = 4;

// Export draws everything; Preview (window playback) keeps fewer bloom levels and no
// reflections on water, to hold the display's frame rate.
enum class NightProfile { Export, Preview };

// A text card faded over the picture: coverage 0 ... 255, top row first, centred.
struct NightTitle {
  int32_t Width = 0, Height = 0;
  std::vector<uint8_t> Coverage;
  float Opacity = 0;  // 0 ... 1
};

// The night look as a display shows it: on or off, the site, and the profile.
struct NightLook {
  bool On = false;
  NightSite Site;
  NightProfile Profile = NightProfile::Preview;
};

struct NightScene {
  std::vector<NightStar> Stars;
  std::vector<NightLight> Lights;  // at most kMaxNightLights, brightest first
  NightCamera Camera;
  NightSite Site;
  double Seconds = 0;       // show time: the water's ripples move with it
  bool Environment = true;  // sky, ground and horizon; without: the stars on black
  bool Bloom = true;
  NightProfile Profile = NightProfile::Export;
  const NightTitle* Title = nullptr;  // none: no card
};

}  // namespace orvane
