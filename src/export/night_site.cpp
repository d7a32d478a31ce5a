#include "export/night_site.h"

namespace orvane {

NightSite NightSiteOf(const ShowSite& site) {
  NightSite night;
  night.MetresPerUnit = static_cast<float>(site.MetresPerUnit);
  night.Ground = site.Ground == GroundKind::kWater ? NightGround::kWater : NightGround::kField;
  night.GroundY = site.GroundY;
  return night;
}

Vec3 ViewpointEye(const ShowSite& site) {
  const SiteViewpoint& v = site.Viewpoint;
  return {static_cast<float>(v.X), static_cast<float>(v.EyeHeight), static_cast<float>(v.Z)};
}

}  // namespace orvane
