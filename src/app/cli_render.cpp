// orvane-cli render: draws a compiled show's frames headless into PNG files, with the
// display window's own scene and frame drawing.

#include <cstdio>
#include <filesystem>
#include <ostream>

#include "app/cli_command.h"
#include "app/cli_render_options.h"
#include "export/png_file.h"
#include "export/show_render.h"
#include "model/integer_text.h"
#include "util/output_path.h"

namespace orvane::cli {
namespace {

int Render(const CliArgs& args, CliIo& io) {
  if (args.Positionals.size() != 1) {
    ReportError(io, "render takes one show file");
    return kExitBadInput;
  }
  RenderOptions options;
  if (const int status = ReadRenderOptions(args, io, options); status != kExitDone) return status;
  int64_t every = 1;
  if (args.Has("--every")) {
    const auto n = ParseInteger(args.Value("--every"));
    if (!n || *n < 1) {
      ReportError(io, "--every takes a positive whole number");
      return kExitBadInput;
    }
    every = *n;
  }
  const std::filesystem::path out = args.Has("-o") ? args.Value("-o") : ".";
  std::error_code made;
  std::filesystem::create_directories(out, made);
  if (!std::filesystem::is_directory(out)) {
    ReportError(io, "cannot make the folder " + out.string());
    return kExitBadInput;
  }
  int64_t written = 0;
  std::string write_error;
  const RenderReport report = RenderShow(
      args.Positionals[0], options,
      [&](int64_t i) {
        return i >= options.FirstFrame && i <= options.LastFrame && (i - options.FirstFrame) % every == 0;
      },
      nullptr,
      [&](RenderedFrame&& frame) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%05lld.png", static_cast<long long>(frame.Index));
        if (InputAt(out / name, {args.Positionals[0]})) {
          write_error = (out / name).string() + " is the show file; choose another folder with -o";
          return false;
        }
        write_error = WritePng((out / name).string(), frame.Rgb, options.Width, options.Height);
        if (!write_error.empty()) return false;
        ++written;
        if (args.Verbose()) io.Err << (out / name).string() << "\n";
        return true;
      },
      io.Stop);
  if (report.Stopped) {
    ReportError(io, "stopped after " + std::to_string(written) + " pictures");
    return kExitStopped;
  }
  if (!report.Error.empty()) {
    ReportError(io, report.Error);
    return kExitBadInput;
  }
  for (const std::string& message : report.Messages) io.Err << message << "\n";
  if (!write_error.empty()) {
    ReportError(io, write_error);
    return kExitBadInput;
  }
  if (written == 0 && report.Messages.empty()) {
    ReportError(io, "no picture written: the show has " + std::to_string(report.FramesPlayed) +
                        " frames, none of them in " + (args.Has("--frames") ? args.Value("--frames") : "the range"));
    return kExitBadInput;
  }
  io.Out << "folder: " << out.string() << "\n"
         << "pictures: " << written << "\n"
         << "frames-played: " << report.FramesPlayed << "\n";
  return report.Messages.empty() ? kExitDone : kExitBadInput;
}

}  // namespace

CliCommand RenderCommand() {
  std::vector<std::string> values = {"-o", "--size", "--frames", "--every", "--scenery", "--particles", "--camera"};
  values.insert(values.end(), kNightValueOptions.begin(), kNightValueOptions.end());
  std::vector<std::string> flags = {"--flat", "--overview", "--no-texts"};
  flags.insert(flags.end(), kNightFlagOptions.begin(), kNightFlagOptions.end());
  return {
      "render",
      "draws the frames of a compiled show into PNG files frame_NNNNN.png (in the folder OUT, default .) "
      "with the display window's scenery and camera, or with --look night as the night video draws them; "
      "--frames picks a range, --every N each N-th frame",
      "SHOW [-o OUT] [--size WxH] [--frames A-B] [--every N] [--look classic|night] [--scenery model|grid|none] "
      "[--particles sprites|quads] [--flat] [--overview] [--no-texts] [--camera yaw,pitch,x,y,z] [--camera-path FILE] "
      "[--title TEXT | --no-title] [--ground field|water]",
      "orvane-cli render show.dat -o frames --frames 50-150 --every 10",
      values,
      Render,
      flags};
}

}  // namespace orvane::cli
