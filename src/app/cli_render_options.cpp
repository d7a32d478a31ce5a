#include "app/cli_render_options.h"

#include "app/render_args.h"

namespace orvane::cli {

int ReadRenderOptions(const CliArgs& args, CliIo& io, RenderOptions& options) {
  auto refuse = [&io](const std::string& message) {
    ReportError(io, message);
    return kExitBadInput;
  };
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
