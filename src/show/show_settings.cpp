#include "show/show_settings.h"

#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>

#include "show/show_site_json.h"
#include "util/json_depth.h"

namespace orvane {
namespace {

using Json = nlohmann::json;

Failure Refused(const std::string& why) { return Fail(std::string(kShowSettingsFileName) + ": " + why + "."); }

Result<> ReadMusic(const Json& music, ShowSettings& settings) {
  if (music.is_null()) return {};
  if (!music.is_object()) return Refused("\"music\" must be an object with \"file\" and \"offset\"");
  if (const auto file = music.find("file"); file != music.end() && !file->is_null()) {
    if (!file->is_string()) return Refused("the music \"file\" must be a text");
    settings.MusicFile = file->get<std::string>();
  }
  if (const auto offset = music.find("offset"); offset != music.end() && !offset->is_null()) {
    if (!offset->is_number() || !std::isfinite(offset->get<double>()))
      return Refused("the music \"offset\" must be a number of seconds");
    settings.MusicOffsetSeconds = offset->get<double>();
  }
  return {};
}

// Beats are found again when they do not read, so a bad list is dropped, not refused.
std::optional<ShowBeats> ReadBeats(const Json& beats) {
  if (!beats.is_object()) return std::nullopt;
  const auto music = beats.find("music");
  const auto tempo = beats.find("tempo");
  const auto seconds = beats.find("seconds");
  if (music == beats.end() || !music->is_string() || tempo == beats.end() || !tempo->is_number() ||
      seconds == beats.end() || !seconds->is_array() || seconds->size() > kMaxShowBeats)
    return std::nullopt;
  ShowBeats read;
  read.MusicFile = music->get<std::string>();
  read.TempoBpm = tempo->get<double>();
  if (!std::isfinite(read.TempoBpm) || read.TempoBpm < 0) return std::nullopt;
  read.Seconds.reserve(seconds->size());
  for (const Json& beat : *seconds) {
    if (!beat.is_number()) return std::nullopt;
    const double t = beat.get<double>();
    if (!std::isfinite(t) || t < 0 || (!read.Seconds.empty() && t < read.Seconds.back())) return std::nullopt;
    read.Seconds.push_back(t);
  }
  return read;
}

// The largest video side offered; a remembered size beyond it, odd or not a number is forgotten.
constexpr int64_t kMaxVideoSide = 8192;

void ReadVideoSize(const Json& video, ShowSettings& settings) {
  if (!video.is_object()) return;
  const auto width = video.find("width");
  const auto height = video.find("height");
  if (width == video.end() || height == video.end() || !width->is_number_integer() || !height->is_number_integer())
    return;
  const int64_t w = width->get<int64_t>(), h = height->get<int64_t>();
  if (w < 2 || h < 2 || w > kMaxVideoSide || h > kMaxVideoSide || w % 2 != 0 || h % 2 != 0) return;
  settings.VideoWidth = static_cast<int32_t>(w);
  settings.VideoHeight = static_cast<int32_t>(h);
}

// Deeper nesting than any show file has would make the recursive writer run out of stack.
constexpr int kMaxJsonDepth = 64;

bool NestedTooDeep(std::string_view text) { return JsonNestedDeeperThan(text, kMaxJsonDepth); }

}  // namespace

Result<ShowSettings> ReadShowSettings(std::string_view text) {
  ShowSettings settings;
  if (NestedTooDeep(text)) return Refused("nested too deeply");
  Json json = Json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded()) return Refused("not valid JSON");
  if (!json.is_object()) return Refused("not a JSON object");
  const auto format = json.find("format");
  if (format == json.end() || !format->is_string() || *format != kShowFormat)
    return Refused(std::string("\"format\" must be \"") + kShowFormat + "\"");
  const auto version = json.find("version");
  if (version == json.end() || !version->is_number_integer() || *version < 1)
    return Refused("\"version\" must be a whole number from 1");
  if (*version > kShowVersion)
    return Refused("version " + std::to_string(version->get<int64_t>()) + " is newer than this program reads (" +
                   std::to_string(kShowVersion) + ")");
  if (const auto title = json.find("title"); title != json.end() && !title->is_null()) {
    if (!title->is_string()) return Refused("\"title\" must be a text");
    settings.Title = title->get<std::string>();
  }
  if (const auto music = json.find("music"); music != json.end()) {
    if (Result<> read = ReadMusic(*music, settings); !read) return read.Error();
  }
  if (const auto scale = json.find("scale"); scale != json.end() && !scale->is_null()) {
    const double value = scale->is_number() ? scale->get<double>() : NAN;
    if (!std::isfinite(static_cast<float>(value))) return Refused("\"scale\" must be a number");
    settings.Scale = static_cast<float>(value);
  }
  if (const auto seed = json.find("seed"); seed != json.end() && !seed->is_null()) {
    if (!seed->is_number_integer() ||
        (seed->is_number_unsigned() ? seed->get<uint64_t>() > UINT32_MAX : seed->get<int64_t>() < 0))
      return Refused("\"seed\" must be a whole number from 0 to 4294967295");
    settings.Seed = static_cast<uint32_t>(seed->get<uint64_t>());
  }
  if (const auto beats = json.find("beats"); beats != json.end()) settings.Beats = ReadBeats(*beats);
  if (const auto video = json.find("video"); video != json.end()) ReadVideoSize(*video, settings);
  if (const auto site = json.find("site"); site != json.end()) {
    Result<ShowSite> read = ReadShowSite(*site);
    if (!read) return Refused(read.Message());
    settings.Site = std::move(read.Value());
  }
  settings.ReadJson = json.dump(-1, ' ', false, Json::error_handler_t::replace);
  return settings;
}

std::string ShowSettingsText(const ShowSettings& settings) {
  Json json = Json::object();
  if (!settings.ReadJson.empty()) {
    Json read = Json::parse(settings.ReadJson, nullptr, false);
    if (read.is_object()) json = std::move(read);
  }
  json["format"] = kShowFormat;
  json["version"] = kShowVersion;
  json["title"] = settings.Title;
  Json music = json.contains("music") && json["music"].is_object() ? json["music"] : Json::object();
  music["file"] = settings.MusicFile;
  music["offset"] = settings.MusicOffsetSeconds;
  json["music"] = std::move(music);
  if (settings.Scale) {
    json["scale"] = *settings.Scale;
  } else {
    json.erase("scale");
  }
  if (settings.Seed) {
    json["seed"] = *settings.Seed;
  } else {
    json.erase("seed");
  }
  if (settings.Beats) {
    json["beats"] = {{"music", settings.Beats->MusicFile},
                     {"tempo", settings.Beats->TempoBpm},
                     {"seconds", settings.Beats->Seconds}};
  } else {
    json.erase("beats");
  }
  if (settings.VideoWidth > 0 && settings.VideoHeight > 0) {
    json["video"] = {{"width", settings.VideoWidth}, {"height", settings.VideoHeight}};
  } else {
    json.erase("video");
  }
  // A show that never had a site gains none by being saved.
  if (json.contains("site") || settings.Site != ShowSite{}) {
    const Json read = json.contains("site") ? json["site"] : Json();
    json["site"] = ShowSiteJson(settings.Site, read);
  }
  // Invalid UTF-8 in a text becomes U+FFFD rather than an exception.
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace orvane
