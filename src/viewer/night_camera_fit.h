#pragma once
// The night look's default camera: from the audience's viewpoint, turned towards the show
// and with a field of view that holds the highest bursts and the widest spread, measured
// from the compiled show as directions seen from the eye.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "compiler/show_reader.h"
#include "viewer/night_scene.h"

namespace orvane {

// Directions of a show's stars above the ground, seen from an eye, in bins of a quarter
// degree: azimuth from the heading towards the site's centre (positive to the right, within
// a half-turn either way), elevation above the horizontal.
class ShowDirections {
 public:
  static constexpr double kBinDegrees = 0.25;
  static constexpr int kAzimuthBins = 720;    // -90 ... 90 degrees
  static constexpr int kElevationBins = 480;  // -30 ... 90 degrees

  ShowDirections(const Vec3& eye, const NightSite& site);
  void Add(const ParticleRecord& record);
  uint64_t Count() const { return count_; }
  // The angle below which `share` (0 ... 1) of the stars lie, in degrees.
  double AzimuthQuantile(double share) const;
  double ElevationQuantile(double share) const;
  // Degrees the heading towards the site's centre turns from -z towards +x.
  double Heading() const { return heading_; }
  const Vec3& Eye() const { return eye_; }

 private:
  Vec3 eye_;
  NightSite site_;
  double heading_ = 0;
  uint64_t count_ = 0;
  std::vector<uint64_t> azimuth_, elevation_;
};

// Reads every frame of the show into `directions`; the first fault stops it.
std::optional<ShowFault> MeasureShowDirections(const std::filesystem::path& show_file, ShowDirections& directions);

// Stars this share of a quantile from either edge are left out of the fit, so a few
// strays do not widen the view.
inline constexpr double kFitStrays = 0.005;
inline constexpr float kFitLowestFov = 20, kFitHighestFov = 100;

// The camera at `eye` that holds the measured stars in a picture of `aspect` (width over
// height), with some ground below (more on water, for the reflections). A show without
// stars gets the eye looking over the site's centre.
NightCamera FitNightCamera(const ShowDirections& directions, float aspect, NightGround ground);

}  // namespace orvane
