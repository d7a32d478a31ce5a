#pragma once
// Where a show is fired, in the designer's metres: the scale to scene units, the ground,
// named firing positions, the audience and the default viewpoint. Only GroundY is in
// scene units, since the compiled show's floor is.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr double kDefaultMetresPerUnit = 20;
// The grid scenery's floor, where the presets' devices start.
inline constexpr float kDefaultGroundY = -2;
inline constexpr const char* kDefaultSafetyRule = "70ft-per-inch";
// What comes down lower than this above ground is fallout: where burning or heavy debris
// can reach people, as a site plan draws it.
inline constexpr double kFalloutHeightMetres = 10;

enum class GroundKind { kField, kWater };

struct SitePosition {
  std::string Name;  // unique within the site
  double X = 0;      // metres
  double Z = 0;      // metres
  // Metres above ground; nothing: a cue fired here starts at its device's own height.
  std::optional<double> Y;

  bool operator==(const SitePosition&) const = default;
};

enum class AudienceKind { kLine, kArea };

struct SitePoint {
  double X = 0, Z = 0;  // metres
  bool operator==(const SitePoint&) const = default;
};

struct SiteAudience {
  std::string Name;
  AudienceKind Kind = AudienceKind::kLine;
  std::vector<SitePoint> Points;  // a line has at least 2, an area at least 3 (closed)
  bool operator==(const SiteAudience&) const = default;
};

struct SiteViewpoint {
  double X = 0;            // metres
  double Z = 160;          // metres
  double EyeHeight = 1.7;  // metres above ground
  bool operator==(const SiteViewpoint&) const = default;
};

struct ShowSite {
  double MetresPerUnit = kDefaultMetresPerUnit;  // > 0 and finite
  GroundKind Ground = GroundKind::kField;
  float GroundY = kDefaultGroundY;  // scene units
  std::string SafetyRule = kDefaultSafetyRule;
  std::vector<SitePosition> Positions;
  std::vector<SiteAudience> Audience;
  SiteViewpoint Viewpoint;

  bool operator==(const ShowSite&) const = default;
};

// The position of that exact name, or null.
const SitePosition* FindSitePosition(const ShowSite& site, std::string_view name);

const char* GroundKindName(GroundKind kind);
const char* AudienceKindName(AudienceKind kind);

}  // namespace orvane
