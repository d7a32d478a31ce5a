// orvane-cli preview: compiles a show and draws one contact sheet of frames spread over it,
// each labelled with its time. The fallback of scripts/run when there is no display.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <ostream>
#include <sstream>

#include "app/cli_command.h"
#include "app/cli_outputs.h"
#include "app/cli_effect.h"
#include "app/cli_render_options.h"
#include "app/cli_show.h"
#include "compiler/show_summary.h"
#include "export/png_file.h"
#include "export/show_render.h"
#include "effects/effect_library.h"
#include "effects/effect_recipe.h"
#include "effects/effect_targets.h"
#include "model/integer_text.h"
#include "model/presets.h"
#include "util/private_temp_folder.h"

namespace orvane::cli {
namespace {

constexpr int kColumns = 4;
constexpr int kMaxTiles = 12;

// The root to compile: --root, or with --preset the preset's first device.
std::optional<int32_t> RootCode(const CliArgs& args) {
  if (args.Has("--root")) return ParseInteger(args.Value("--root"));
  if (args.Has("--preset")) {
    const auto k = ParseInteger(args.Value("--preset"));
    if (k && !PresetDevices(*k).empty()) return PresetDevices(*k).front().Code;
  }
  return std::nullopt;
}

// A description's devices, made in the run's own folder, compiled from their root.
int CompileEffectInto(const CliArgs& args, CliIo& io, const std::filesystem::path& file, EffectChain& chain) {
  const std::filesystem::path devices = file.parent_path() / "devices";
  if (const int status = WriteEffectDevices(args.Value("--effect"), devices, kGeneratedFirstCode, io, chain);
      status != kExitDone)
    return status;
  // Without --seed the sheet is the same on every run.
  const std::string seed = args.Has("--seed") ? args.Value("--seed") : "1";
  std::vector<std::string> words = {
      "compile", "--devices", devices.string(), "--root", std::to_string(chain.RootCode()), "--seed",
      seed,      "-o",        file.string()};
  std::ostringstream figures;
  CliIo compile_io{figures, io.Err, io.ErrIsTerminal};
  return RunCli(words, compile_io);
}

// Far enough back to see the effect whole: from the ground to its top, its spread either
// side. A single tile shows only the burst of a shell, filling the picture.
RenderCamera EffectCamera(const EffectChain& chain, const RenderOptions& options, bool burstOnly) {
  const double calibre = chain.Description.CalibreMm();
  const bool aerial = IsAerialShell(chain.Description.BurstType());
  const double spread = RecipeUnits(TargetSpreadM(calibre)) * (chain.Description.Type == EffectType::kCake ? 2.0 : 1.0);
  const double height = RecipeUnits(TargetBreakHeightM(calibre));
  double bottom = 0, top = height + (aerial ? spread : 0.0), margin = 1.4;
  if (burstOnly && aerial) {
    bottom = height - 1.3 * spread;
    top = height + spread;
    margin = 1.1;
  }
  const double halfView = std::tan(22.5 * std::numbers::pi / 180);
  const double aspect = static_cast<double>(options.Width) / options.Height;
  const double distance = margin * std::max((top - bottom) / 2 / halfView, spread / (halfView * aspect));
  return RenderCamera{180, 0, 0, static_cast<float>(kRecipeGroundY + (top + bottom) / 2), static_cast<float>(distance)};
}

// Compiles into a file of its own through the compile command, so a show the GUI
// compiled is left alone.
int CompileInto(const CliArgs& args, CliIo& io, const std::filesystem::path& file) {
  if (args.Has("--show")) return CompileShowFolderInto(args, io, file);
  const std::optional<int32_t> root = RootCode(args);
  if (!root) {
    ReportError(
        io,
        "preview needs --preset N (1 to 6), --devices DIR with --root CODE, --show DIR or --effect \"DESCRIPTION\"");
    return kExitBadInput;
  }
  return CompileDeviceInto(args, io, *root, file);
}

// The tiles spread from frame `from` to the end, four to a row.
int DrawSheet(const CliArgs& args, CliIo& io, const std::filesystem::path& show, const RenderOptions& options,
              int tileCount, int64_t from) {
  const int columns = std::min(kColumns, tileCount);
  const int rows = (tileCount + columns - 1) / columns;
  ShowSummary summary;
  if (const auto fault = SummarizeShowFile(show, summary, io.Stop)) {
    ReportError(io, "the compiled show is damaged at " + fault->Describe());
    return kExitBadInput;
  }
  if (summary.Stopped) return kExitStopped;
  const int64_t frames = static_cast<int64_t>(summary.Frames);
  from = std::clamp<int64_t>(from, 0, std::max<int64_t>(0, frames - tileCount));
  std::vector<int64_t> picks = SpreadFrames(frames - from, tileCount);
  for (int64_t& pick : picks) pick += from;
  std::vector<RenderedFrame> tiles;
  const RenderReport report = RenderShow(
      show.string(), options, [&picks](int64_t i) { return std::binary_search(picks.begin(), picks.end(), i); },
      options.Texts ? FrameTimeLabel : std::function<std::string(int64_t)>(),
      [&tiles](RenderedFrame&& frame) {
        tiles.push_back(std::move(frame));
        return true;
      },
      io.Stop);
  if (report.Stopped) {
    ReportError(io, "stopped; no contact sheet written");
    return kExitStopped;
  }
  if (!report.Error.empty()) {
    ReportError(io, report.Error);
    return kExitBadInput;
  }
  const std::string out = args.Value("-o");
  const std::vector<uint8_t> sheet = ContactSheet(tiles, options.Width, options.Height, columns, rows);
  if (const std::string error = WritePng(out, sheet, options.Width * columns, options.Height * rows); !error.empty()) {
    ReportError(io, error);
    return kExitBadInput;
  }
  io.Out << "file: " << out << "\n"
         << "frames: " << summary.Frames << "\n"
         << "tiles: " << tiles.size() << "\n";
  return kExitDone;
}

int Preview(const CliArgs& args, CliIo& io) {
  if (!args.Has("-o")) {
    ReportError(io, "preview needs -o SHEET.png");
    return kExitBadInput;
  }
  if (const int status = CheckCliOutputs(io, {{"-o", args.Value("-o")}}, CliInputFiles(args)); status != kExitDone)
    return status;
  RenderOptions options;
  // A little back and up from the window's start, so the sheet shows the whole stage.
  options.Camera = RenderCamera{180, 6, 0, 0.3f, 11};
  // An effect alone shows best over the bare floor grid.
  if (args.Has("--effect")) options.Scenery = RenderScenery::Grid;
  if (const int status = ReadRenderOptions(args, io, options); status != kExitDone) return status;
  int tileCount = kMaxTiles;
  if (args.Has("--tiles")) {
    const std::optional<int32_t> n = ParseInteger(args.Value("--tiles"));
    if (!n || *n < 1 || *n > kMaxTiles) {
      ReportError(io, "--tiles takes 1 to 12, not \"" + args.Value("--tiles") + "\"");
      return kExitBadInput;
    }
    tileCount = *n;
  }
  // The show goes into a folder of this run's own, removed with it.
  const PrivateTempFolder temp("orvane-preview");
  if (!temp.Made()) {
    ReportError(io, temp.ErrorText());
    return kExitBadInput;
  }
  const std::filesystem::path show = temp.Path() / kShowFileName;
  int status = kExitDone;
  int64_t from = 0;
  if (args.Has("--effect")) {
    EffectChain chain;
    status = CompileEffectInto(args, io, show, chain);
    if (status == kExitDone && !args.Has("--camera")) options.Camera = EffectCamera(chain, options, tileCount == 1);
    // A shell's sheet starts shortly before its first break rather than spending tiles on the climb.
    if (status == kExitDone && chain.Devices.front().NextParExists) from = chain.Devices.front().EffectLength / 40 - 12;
  } else {
    status = CompileInto(args, io, show);
  }
  if (status == kExitDone) status = DrawSheet(args, io, show, options, tileCount, from);
  return status;
}

}  // namespace

CliCommand PreviewCommand() {
  return {
      "preview",
      "compiles a show and draws a contact sheet of 4 x 3 frames spread over it, each labelled with its time (fewer "
      "with --tiles; an effect's sheet starts at its break)",
      "(--preset N | --devices DIR --root CODE | --show DIR | --effect \"DESCRIPTION\") [--seed S] [--size WxH] [--scenery model|grid|none] [--flat] "
      "[--overview] [--no-texts] [--tiles N] [--camera yaw,pitch,x,y,z] -o SHEET.png",
      "orvane-cli preview --preset 3 --seed 1 -o sheet.png",
      {"--devices", "--preset", "--root", "--show", "--effect", "--seed", "-o", "--size", "--scenery", "--camera",
       "--tiles"},
      Preview,
      {"--flat", "--overview", "--no-texts"}};
}

}  // namespace orvane::cli
