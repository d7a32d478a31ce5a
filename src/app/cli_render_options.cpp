#include "app/cli_render_options.h"

#include <optional>

#include "app/render_args.h"
#include "show/staged_files.h"

namespace orvane::cli {
namespace {

// The first option of `names` the arguments hold, or nothing.
std::optional<std::string> FirstGiven(const CliArgs& args, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (args.Has(name) || args.Flags.count(name) != 0) return name;
  }
  return std::nullopt;
}

}  // namespace

int ReadCameraPathFile(const std::filesystem::path& file, CliIo& io, RenderOptions& options) {
  const Result<std::string> text = ReadSmallFile(file, kMaxCameraPathBytes);
  if (!text) {
    ReportError(io, text.Message());
    return kExitBadInput;
  }
  Result<std::vector<CameraKey>> path = ReadCameraPath(text.Value(), file.filename().string());
  if (!path) {
    ReportError(io, path.Message());
    return kExitBadInput;
  }
  // A path without keys leaves the default camera.
  if (!path.Value().empty()) options.Night.CameraAt = FollowCameraPath(std::move(path.Value()));
  return kExitDone;
}

int ReadRenderOptions(const CliArgs& args, CliIo& io, RenderOptions& options, RenderLook look) {
  auto refuse = [&io](const std::string& message) {
    ReportError(io, message);
    return kExitBadInput;
  };
  options.Look = look;
  if (args.Has("--look")) {
    const auto chosen = ParseLook(args.Value("--look"));
    if (!chosen) return refuse("--look takes night or classic");
    options.Look = *chosen;
  }
  if (options.Look == RenderLook::Night) {
    if (const std::optional<std::string> classic =
            FirstGiven(args, {"--scenery", "--particles", "--camera", "--flat", "--overview", "--no-texts"})) {
      return refuse(*classic + " belongs to the classic look; add --look classic");
    }
    if (args.Has("--ground")) {
      const auto ground = ParseGround(args.Value("--ground"));
      if (!ground) return refuse("--ground takes field or water");
      options.Night.Site.Ground = *ground;
    }
    if (args.Has("--title") && args.Flags.count("--no-title") != 0)
      return refuse("--title and --no-title exclude each other");
    if (args.Has("--title")) options.Night.Title = args.Value("--title");
    if (args.Has("--camera-path")) {
      if (const int status = ReadCameraPathFile(args.Value("--camera-path"), io, options); status != kExitDone) {
        return status;
      }
    }
  } else if (const std::optional<std::string> night =
                 FirstGiven(args, {"--camera-path", "--title", "--no-title", "--ground"})) {
    return refuse(*night + " belongs to the night look (--look night)");
  }
  if (args.Has("--size")) {
    const auto size = ParseRenderSize(args.Value("--size"));
    if (!size) return refuse("--size takes WIDTHxHEIGHT, 16 to 4096 each (as in 392x324)");
    options.Width = size->first;
    options.Height = size->second;
  }
  if (args.Has("--frames")) {
    const auto range = ParseFrameRange(args.Value("--frames"));
    if (!range) return refuse("--frames takes A-B with 0 <= A <= B (or A, or A-)");
    options.FirstFrame = range->First;
    options.LastFrame = range->Last;
  }
  if (args.Has("--scenery")) {
    const auto scenery = ParseScenery(args.Value("--scenery"));
    if (!scenery) return refuse("--scenery takes model, grid or none");
    options.Scenery = *scenery;
  }
  if (args.Has("--particles")) {
    const auto particles = ParseParticles(args.Value("--particles"));
    if (!particles) return refuse("--particles takes sprites or quads");
    options.Particles = *particles;
  }
  if (args.Has("--camera")) {
    const auto camera = ParseRenderCamera(args.Value("--camera"));
    if (!camera) return refuse("--camera takes yaw,pitch,x,y,z (pitch -89 to 89)");
    options.Camera = camera;
  }
  options.Flat = args.Flags.count("--flat") != 0;
  options.Overview = args.Flags.count("--overview") != 0;
  options.Texts = args.Flags.count("--no-texts") == 0;
  return kExitDone;
}

}  // namespace orvane::cli
