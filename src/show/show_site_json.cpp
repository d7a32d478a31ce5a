#include "show/show_site_json.h"

#include <cmath>
#include <set>

#include "model/record_decimals.h"
#include "show/cue_list.h"
#include "show/site_units.h"

namespace orvane {
namespace {

using Json = nlohmann::json;

std::string Field(const std::string& name) { return "\"site." + name + "\""; }

// A member that is absent or null counts as not given.
const Json* Member(const Json& object, const char* name) {
  const auto it = object.find(name);
  return it == object.end() || it->is_null() ? nullptr : &*it;
}

std::optional<double> FiniteNumber(const Json& value) {
  if (!value.is_number()) return std::nullopt;
  const double v = value.get<double>();
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

// Reads an optional finite number of `object` into `out`; false when it is not one.
bool ReadNumber(const Json& object, const char* name, double& out) {
  const Json* value = Member(object, name);
  if (value == nullptr) return true;
  const auto number = FiniteNumber(*value);
  if (number) out = *number;
  return number.has_value();
}

// cues.csv trims the names it reads.
bool UsableName(const std::string& name) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return !name.empty() && !blank(name.front()) && !blank(name.back());
}

std::string Entry(const char* list, size_t index) { return Field(list) + " entry " + std::to_string(index + 1); }

Result<SitePosition> ReadPosition(const Json& item, size_t index) {
  const std::string where = Entry("positions", index);
  if (!item.is_object()) return Fail(where + " must be an object with \"name\", \"x\" and \"z\"");
  SitePosition position;
  const Json* name = Member(item, "name");
  if (name == nullptr || !name->is_string() || !UsableName(name->get<std::string>()))
    return Fail(where + ": \"name\" must be a text that is not empty and neither starts nor ends with a blank");
  position.Name = name->get<std::string>();
  const std::string named = where + " (\"" + position.Name + "\")";
  for (const char* axis : {"x", "z"}) {
    const Json* value = Member(item, axis);
    const auto number = value == nullptr ? std::nullopt : FiniteNumber(*value);
    if (!number) return Fail(named + ": \"" + axis + "\" must be a number of metres");
    (axis[0] == 'x' ? position.X : position.Z) = *number;
  }
  if (const Json* y = Member(item, "y")) {
    const auto number = FiniteNumber(*y);
    if (!number) return Fail(named + ": \"y\" must be a number of metres above ground");
    position.Y = number;
  }
  return position;
}

Result<SitePoint> ReadPoint(const Json& value) {
  if (!value.is_array() || value.size() != 2) return Fail("");
  const auto x = FiniteNumber(value[0]);
  const auto z = FiniteNumber(value[1]);
  if (!x || !z) return Fail("");
  return SitePoint{*x, *z};
}

Result<SiteAudience> ReadAudience(const Json& item, size_t index) {
  const std::string where = Entry("audience", index);
  if (!item.is_object()) return Fail(where + " must be an object with \"kind\" and \"points\"");
  SiteAudience audience;
  if (const Json* name = Member(item, "name")) {
    if (!name->is_string()) return Fail(where + ": \"name\" must be a text");
    audience.Name = name->get<std::string>();
  }
  if (const Json* kind = Member(item, "kind")) {
    if (*kind == "area") audience.Kind = AudienceKind::kArea;
    else if (*kind != "line") return Fail(where + ": \"kind\" must be \"line\" or \"area\"");
  }
  const Json* points = Member(item, "points");
  if (points == nullptr || !points->is_array()) return Fail(where + ": \"points\" must be a list of [x, z] in metres");
  for (const Json& p : *points) {
    Result<SitePoint> point = ReadPoint(p);
    if (!point) return Fail(where + ": every point of \"points\" must be [x, z] in metres");
    audience.Points.push_back(point.Value());
  }
  const size_t least = audience.Kind == AudienceKind::kArea ? 3 : 2;
  if (audience.Points.size() < least)
    return Fail(where + ": an audience " + AudienceKindName(audience.Kind) + " needs at least " +
                std::to_string(least) + " points");
  return audience;
}

Result<> ReadScalars(const Json& site, ShowSite& out) {
  if (!ReadNumber(site, "metres_per_unit", out.MetresPerUnit) || !(out.MetresPerUnit > 0))
    return Fail(Field("metres_per_unit") + " must be a number above 0");
  if (const Json* ground = Member(site, "ground")) {
    if (*ground == "water") out.Ground = GroundKind::kWater;
    else if (*ground != "field") return Fail(Field("ground") + " must be \"field\" or \"water\"");
  }
  double groundY = out.GroundY;
  if (!ReadNumber(site, "ground_y", groundY) || !(std::fabs(groundY) <= kMaxCuePosition))
    return Fail(Field("ground_y") + " must be a number of scene units from -10.922 to 10.922");
  out.GroundY = static_cast<float>(groundY);
  if (const Json* rule = Member(site, "safety_rule")) {
    if (!rule->is_string() || rule->get<std::string>().empty())
      return Fail(Field("safety_rule") + " must be the name of a safety rule");
    out.SafetyRule = rule->get<std::string>();
  }
  return {};
}

Result<> ReadViewpoint(const Json& site, SiteViewpoint& out) {
  const Json* viewpoint = Member(site, "viewpoint");
  if (viewpoint == nullptr) return {};
  if (!viewpoint->is_object())
    return Fail(Field("viewpoint") + " must be an object with \"x\", \"z\" and \"eye_height\"");
  if (!ReadNumber(*viewpoint, "x", out.X)) return Fail(Field("viewpoint.x") + " must be a number of metres");
  if (!ReadNumber(*viewpoint, "z", out.Z)) return Fail(Field("viewpoint.z") + " must be a number of metres");
  if (!ReadNumber(*viewpoint, "eye_height", out.EyeHeight) || out.EyeHeight < 0)
    return Fail(Field("viewpoint.eye_height") + " must be a number of metres from 0");
  return {};
}

// Cues fired at a position must land inside the show file's range, as typed ones must.
Result<> CheckPositionRange(const ShowSite& site, const SitePosition& position, size_t index) {
  if (InShowRange(PositionStart(site, position, site.GroundY))) return {};
  const double reach = kMaxCuePosition * site.MetresPerUnit;
  return Fail(Entry("positions", index) + " (\"" + position.Name + "\") lies outside the show's range at " +
              Float64Text(site.MetresPerUnit) + " m per unit (" + Float64Text(std::floor(reach * 10) / 10) +
              " m each way)");
}

template <typename T, typename ReadItem>
Result<> ReadList(const Json& site, const char* name, const char* what, std::vector<T>& out, ReadItem read) {
  const Json* list = Member(site, name);
  if (list == nullptr) return {};
  if (!list->is_array()) return Fail(Field(name) + " must be a list of " + what);
  for (size_t i = 0; i < list->size(); ++i) {
    auto item = read((*list)[i], i);
    if (!item) return item.Error();
    out.push_back(std::move(item.Value()));
  }
  return {};
}

// A fresh object, or the one read at `index` when it describes the same named thing.
Json ReadItemNamed(const Json& read, const char* list, size_t index, const std::string& name) {
  if (!read.is_object()) return Json::object();
  const auto it = read.find(list);
  if (it == read.end() || !it->is_array() || index >= it->size()) return Json::object();
  const Json& item = (*it)[index];
  if (!item.is_object() || !item.contains("name") || item["name"] != name) return Json::object();
  return item;
}

// A float32 field as the shortest decimal that reads back to it, not as its double expansion.
double ShortDouble(float value) { return std::strtod(Float32Text(value).c_str(), nullptr); }

}  // namespace

Result<ShowSite> ReadShowSite(const Json& site) {
  ShowSite out;
  if (site.is_null()) return out;
  if (!site.is_object()) return Fail("\"site\" must be an object");
  if (auto r = ReadScalars(site, out); !r) return r.Error();
  if (auto r = ReadList(site, "positions", "positions", out.Positions, ReadPosition); !r) return r.Error();
  if (auto r = ReadList(site, "audience", "audience lines and areas", out.Audience, ReadAudience); !r) return r.Error();
  if (auto r = ReadViewpoint(site, out.Viewpoint); !r) return r.Error();
  std::set<std::string> names;
  for (size_t i = 0; i < out.Positions.size(); ++i) {
    const SitePosition& p = out.Positions[i];
    if (!names.insert(p.Name).second)
      return Fail(Entry("positions", i) + ": the name \"" + p.Name + "\" is given to an earlier position too");
    if (auto r = CheckPositionRange(out, p, i); !r) return r.Error();
  }
  return out;
}

Json ShowSiteJson(const ShowSite& site, const Json& read) {
  Json json = read.is_object() ? read : Json::object();
  json["metres_per_unit"] = site.MetresPerUnit;
  json["ground"] = GroundKindName(site.Ground);
  json["ground_y"] = ShortDouble(site.GroundY);
  json["safety_rule"] = site.SafetyRule;
  Json positions = Json::array();
  for (size_t i = 0; i < site.Positions.size(); ++i) {
    const SitePosition& p = site.Positions[i];
    Json item = ReadItemNamed(read, "positions", i, p.Name);
    item["name"] = p.Name;
    item["x"] = p.X;
    item["z"] = p.Z;
    if (p.Y) item["y"] = *p.Y;
    else item.erase("y");
    positions.push_back(std::move(item));
  }
  json["positions"] = std::move(positions);
  Json audience = Json::array();
  for (size_t i = 0; i < site.Audience.size(); ++i) {
    const SiteAudience& a = site.Audience[i];
    Json item = ReadItemNamed(read, "audience", i, a.Name);
    item["name"] = a.Name;
    item["kind"] = AudienceKindName(a.Kind);
    Json points = Json::array();
    for (const SitePoint& p : a.Points) points.push_back(Json::array({p.X, p.Z}));
    item["points"] = std::move(points);
    audience.push_back(std::move(item));
  }
  json["audience"] = std::move(audience);
  Json viewpoint = json.contains("viewpoint") && json["viewpoint"].is_object() ? json["viewpoint"] : Json::object();
  viewpoint["x"] = site.Viewpoint.X;
  viewpoint["z"] = site.Viewpoint.Z;
  viewpoint["eye_height"] = site.Viewpoint.EyeHeight;
  json["viewpoint"] = std::move(viewpoint);
  return json;
}

}  // namespace orvane
