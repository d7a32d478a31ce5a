// orvane-cli preview: compiles a show and draws one contact sheet of frames spread over it,
// each labelled with its time. The fallback of scripts/run when there is no display.

#include <filesystem>
#include <ostream>
#include <sstream>

#include "app/cli_command.h"
#include "app/cli_outputs.h"
#include "app/cli_render_options.h"
#include "app/cli_show.h"
#include "compiler/show_summary.h"
#include "export/png_file.h"
#include "export/show_render.h"
#include "model/integer_text.h"
#include "model/presets.h"
#include "util/private_temp_folder.h"

namespace orvane::cli {
namespace {

constexpr int kColumns = 4;
constexpr int kRows = 3;

// The root to compile: --root, or with --preset the preset's first device.
std::optional<int32_t> RootCode(const CliArgs& args) {
  if (args.Has("--root")) return ParseInteger(args.Value("--root"));
  if (args.Has("--preset")) {
    const auto k = ParseInteger(args.Value("--preset"));
    if (k && !PresetDevices(*k).empty()) return PresetDevices(*k).front().Code;
  }
  return std::nullopt;
}

// Compiles into a file of its own, as the compile command does, so a show the GUI
// compiled is left alone.
int CompileInto(const CliArgs& args, CliIo& io, const std::filesystem::path& file) {
  if (args.Has("--show")) return CompileShowFolderInto(args, io, file);
  const std::optional<int32_t> root = RootCode(args);
  if (!root) {
    ReportError(io, "preview needs --preset N (1 to 6), --devices DIR with --root CODE, or --show DIR");
    return kExitBadInput;
  }
  return CompileDeviceInto(args, io, *root, file);
}

int DrawSheet(const CliArgs& args, CliIo& io, const std::filesystem::path& show, const RenderOptions& options) {
  ShowSummary summary;
  if (const auto fault = SummarizeShowFile(show, summary, io.Stop)) {
    ReportError(io, "the compiled show is damaged at " + fault->Describe());
    return kExitBadInput;
  }
  if (summary.Stopped) return kExitStopped;
  const std::vector<int64_t> picks = SpreadFrames(static_cast<int64_t>(summary.Frames), kColumns * kRows);
  std::vector<RenderedFrame> tiles;
  const RenderReport report = RenderShow(
      show.string(), options, [&picks](int64_t i) { return std::binary_search(picks.begin(), picks.end(), i); },
      FrameTimeLabel,
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
  const std::vector<uint8_t> sheet = ContactSheet(tiles, options.Width, options.Height, kColumns, kRows);
  if (const std::string error = WritePng(out, sheet, options.Width * kColumns, options.Height * kRows);
      !error.empty()) {
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
  if (const int status = ReadRenderOptions(args, io, options); status != kExitDone) return status;
  // The show goes into a folder of this run's own, removed with it.
  const PrivateTempFolder temp("orvane-preview");
  if (!temp.Made()) {
    ReportError(io, temp.ErrorText());
    return kExitBadInput;
  }
  const std::filesystem::path show = temp.Path() / kShowFileName;
  int status = CompileInto(args, io, show);
  if (status == kExitDone) status = DrawSheet(args, io, show, options);
  return status;
}

}  // namespace

CliCommand PreviewCommand() {
  return {
      "preview",
      "compiles a show and draws a contact sheet of 4 x 3 frames spread over it, each labelled with its time",
      "(--preset N | --devices DIR --root CODE | --show DIR) [--seed S] [--size WxH] [--scenery model|grid|none] [--flat] "
      "[--overview] [--camera yaw,pitch,x,y,z] -o SHEET.png",
      "orvane-cli preview --preset 3 --seed 1 -o sheet.png",
      {"--devices", "--preset", "--root", "--show", "--seed", "-o", "--size", "--scenery", "--camera"},
      Preview,
      {"--flat", "--overview"}};
}

}  // namespace orvane::cli
