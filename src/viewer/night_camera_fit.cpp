#include "viewer/night_camera_fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "viewer/night_stars.h"

namespace orvane {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr double kLowestAzimuth = -90, kLowestElevation = -30;
// Room around the stars, as a share of the angles they take.
constexpr double kFitMargin = 1.1;
// Ground shown below the lowest stars, as a share of their height in the picture.
constexpr double kFieldBelow = 0.12, kWaterBelow = 0.45;

double Wrapped(double degrees) {
  while (degrees > 180) degrees -= 360;
  while (degrees <= -180) degrees += 360;
  return degrees;
}

int Bin(double degrees, double lowest, int bins) {
  const double at = std::floor((degrees - lowest) / ShowDirections::kBinDegrees);
  return static_cast<int>(std::clamp(at, 0.0, static_cast<double>(bins - 1)));
}

// Lower edge of the bin holding the share's star below the middle, upper edge above it.
double Quantile(const std::vector<uint64_t>& bins, uint64_t count, double share, double lowest) {
  if (count == 0) return 0;
  const double wanted = std::clamp(share, 0.0, 1.0) * static_cast<double>(count);
  uint64_t below = 0;
  for (size_t b = 0; b < bins.size(); ++b) {
    below += bins[b];
    if (static_cast<double>(below) >= wanted && below > 0) {
      const double edge = share < 0.5 ? static_cast<double>(b) : static_cast<double>(b) + 1;
      return lowest + edge * ShowDirections::kBinDegrees;
    }
  }
  return lowest + static_cast<double>(bins.size()) * ShowDirections::kBinDegrees;
}

Vec3 Towards(const Vec3& eye, double heading, double elevation, double distance) {
  const double h = heading / kDegrees, e = elevation / kDegrees;
  return {static_cast<float>(eye[0] + distance * std::cos(e) * std::sin(h)),
          static_cast<float>(eye[1] + distance * std::sin(e)),
          static_cast<float>(eye[2] - distance * std::cos(e) * std::cos(h))};
}

}  // namespace

ShowDirections::ShowDirections(const Vec3& eye, const NightSite& site)
    : eye_(eye), site_(site), azimuth_(kAzimuthBins, 0), elevation_(kElevationBins, 0) {
  const double dx = -static_cast<double>(eye[0]), dz = -static_cast<double>(eye[2]);
  heading_ = dx * dx + dz * dz > 1e-6 ? std::atan2(dx, -dz) * kDegrees : 0;
}

void ShowDirections::Add(const ParticleRecord& record) {
  const Vec3 p = UnitsToMetres(static_cast<float>(record.X / 3000.0), static_cast<float>(record.Y / 3000.0),
                               static_cast<float>(record.Z / 3000.0), site_);
  if (!(p[1] >= 0)) return;
  const double dx = static_cast<double>(p[0]) - eye_[0];
  const double dy = static_cast<double>(p[1]) - eye_[1];
  const double dz = static_cast<double>(p[2]) - eye_[2];
  const double across = std::hypot(dx, dz);
  if (!(across > 1e-3)) return;
  const double azimuth = Wrapped(std::atan2(dx, -dz) * kDegrees - heading_);
  if (std::fabs(azimuth) >= 90) return;
  const double elevation = std::atan2(dy, across) * kDegrees;
  ++azimuth_[static_cast<size_t>(Bin(azimuth, kLowestAzimuth, kAzimuthBins))];
  ++elevation_[static_cast<size_t>(Bin(elevation, kLowestElevation, kElevationBins))];
  ++count_;
}

double ShowDirections::AzimuthQuantile(double share) const { return Quantile(azimuth_, count_, share, kLowestAzimuth); }

double ShowDirections::ElevationQuantile(double share) const {
  return Quantile(elevation_, count_, share, kLowestElevation);
}

std::optional<ShowFault> MeasureShowDirections(const std::filesystem::path& show_file, ShowDirections& directions) {
  ShowFileReader reader;
  if (!reader.Open(show_file)) return reader.Fault();
  ShowBlock block;
  for (;;) {
    const ShowFileReader::Status status = reader.ReadBlock(block);
    if (status == ShowFileReader::Status::kFault) return reader.Fault();
    if (status == ShowFileReader::Status::kEnd) return std::nullopt;
    FrameCursor frames = block.Frames();
    ShowFrame frame;
    while (frames.Next(frame)) {
      for (size_t i = 0; i < frame.RecordCount(); ++i) directions.Add(frame.Record(i));
    }
  }
}

NightCamera FitNightCamera(const ShowDirections& directions, float aspect, NightGround ground) {
  NightCamera camera;
  camera.Eye = directions.Eye();
  if (directions.Count() == 0) {
    camera.Target = Towards(camera.Eye, directions.Heading(), 20, 100);
    return camera;
  }
  const double left = directions.AzimuthQuantile(kFitStrays);
  const double right = directions.AzimuthQuantile(1 - kFitStrays);
  const double top = directions.ElevationQuantile(1 - kFitStrays);
  const double low = std::min(directions.ElevationQuantile(kFitStrays), 0.0);
  const double bottom = low - (top - low) * (ground == NightGround::kWater ? kWaterBelow : kFieldBelow);
  const double tall = (top - bottom) * kFitMargin;
  const double wide = std::min((right - left) * kFitMargin, 170.0) / 2 / kDegrees;
  const double forWidth = 2 * std::atan(std::tan(wide) / std::max(aspect, 0.1f)) * kDegrees;
  const double fov =
      std::clamp(std::max(tall, forWidth), static_cast<double>(kFitLowestFov), static_cast<double>(kFitHighestFov));
  // The lowest stars and the ground under them stay at the picture's foot; spare room goes to the sky.
  const double middle = bottom - (top - bottom) * (kFitMargin - 1) / 2 + fov / 2;
  camera.FovYDegrees = static_cast<float>(fov);
  camera.Target = Towards(camera.Eye, directions.Heading() + (left + right) / 2, middle, 100);
  return camera;
}

}  // namespace orvane
