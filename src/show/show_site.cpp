#include "show/show_site.h"

namespace orvane {

const SitePosition* FindSitePosition(const ShowSite& site, std::string_view name) {
  for (const SitePosition& p : site.Positions)
    if (p.Name == name) return &p;
  return nullptr;
}

const char* GroundKindName(GroundKind kind) { return kind == GroundKind::kWater ? "water" : "field"; }

const char* AudienceKindName(AudienceKind kind) { return kind == AudienceKind::kArea ? "area" : "line"; }

}  // namespace orvane
