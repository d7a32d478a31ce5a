#pragma once
// show.json's "site" object. Internal to the show library: it speaks nlohmann::json.

#include <nlohmann/json.hpp>

#include "show/show_site.h"
#include "util/result.h"

namespace orvane {

// The site the object describes (null: the defaults). A refusal names the field, e.g.
// "\"site.metres_per_unit\" must be a number above 0".
Result<ShowSite> ReadShowSite(const nlohmann::json& site);

// The object to store: `read` (what the file held, or null) with the known fields set from
// `site`, so that fields this version does not know survive.
nlohmann::json ShowSiteJson(const ShowSite& site, const nlohmann::json& read);

}  // namespace orvane
