#pragma once
// A show's site as the night look draws it: the scale, the ground and the audience's eye.

#include "show/show_site.h"
#include "viewer/night_scene.h"

namespace orvane {

NightSite NightSiteOf(const ShowSite& site);

// The viewpoint's eye in the night look's metres (height above the ground).
Vec3 ViewpointEye(const ShowSite& site);

}  // namespace orvane
