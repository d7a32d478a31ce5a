// orvane-cli video: a compiled show as an MP4 with the display window's drawing and,
// when given, its music.

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <stop_token>

#include "app/cli_command.h"
#include "app/cli_outputs.h"
#include "app/cli_render_options.h"
#include "app/cli_show.h"
#include "compiler/show_record.h"
#include "export/export_progress.h"
#include "export/night_site.h"
#include "export/video_export.h"
#include "export/video_export_run.h"
#include "media/audio_track.h"
#include "model/decimal_text.h"
#include "model/integer_text.h"
#include "show/show_folder.h"
#include "show/show_settings.h"
#include "show/staged_files.h"
#include "viewer/camera_fit.h"
#include "viewer/scenery.h"

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

// A show folder's music and offset from its show.json (a show without music stays silent),
// and for the night look its site, its title and its camera path, when it has one.
int ReadShowFolder(const CliArgs& args, const fs::path& folder, CliIo& io, VideoJob& job) {
  const fs::path settingsPath = folder / kShowSettingsFileName;
  std::error_code ec;
  ShowSettings settings;
  if (fs::exists(fs::symlink_status(settingsPath, ec))) {
    const Result<std::string> text = ReadSmallFile(settingsPath, kMaxShowSettingsBytes);
    if (!text) return Refuse(io, text.Message());
    Result<ShowSettings> read = ReadShowSettings(text.Value());
    if (!read) return Refuse(io, read.Message());
    settings = std::move(read.Value());
  }
  if (job.Render.Look == RenderLook::Night) {
    // The site's scale, ground and viewpoint; a --ground given still wins over the site's.
    const NightGround ground = job.Render.Night.Site.Ground;
    job.Render.Night.Site = NightSiteOf(settings.Site);
    if (args.Has("--ground")) job.Render.Night.Site.Ground = ground;
    job.Render.Night.Viewpoint = ViewpointEye(settings.Site);
    if (!args.Has("--title") && args.Flags.count("--no-title") == 0) {
      job.Render.Night.Title = ShowTitle(settings, fs::absolute(folder, ec));
    }
    const fs::path path = folder / kCameraPathFileName;
    if (!args.Has("--camera-path") && fs::exists(fs::symlink_status(path, ec))) {
      job.CameraPath = path;
      if (const int status = ReadCameraPathFile(path, io, job.Render); status != kExitDone) return status;
    }
  }
  if (args.Has("--music")) return kExitDone;
  const std::optional<fs::path> music = ShowMusicPath(settings, folder);
  if (!music) return kExitDone;
  if (!fs::is_regular_file(*music, ec)) {
    return Refuse(io, "the show's music \"" + music->string() +
                          "\" is missing; put it back, or name other music with --music FILE");
  }
  job.Music = *music;
  job.MusicOffsetSeconds = settings.MusicOffsetSeconds;
  return kExitDone;
}

int ReadVideoJob(const CliArgs& args, CliIo& io, VideoJob& job) {
  auto refuse = [&io](const std::string& message) { return Refuse(io, message); };
  const bool fromShow = args.Has("--show");
  if (args.Positionals.size() != (fromShow ? 0u : 1u)) return refuse("video takes one show file or --show DIR");
  if (!args.Has("-o")) return refuse("video needs -o OUT.mp4");
  if (args.Has("--seed") && !fromShow) return refuse("--seed goes with --show; a show file plays as compiled");
  if (!fromShow) job.ShowFile = args.Positionals[0];
  job.Output = args.Value("-o");
  job.Render.Width = kVideoDefaultWidth;
  job.Render.Height = kVideoDefaultHeight;
  // A show folder is for showing: the night look unless asked otherwise.
  if (const int status = ReadRenderOptions(args, io, job.Render, fromShow ? RenderLook::Night : RenderLook::Classic);
      status != kExitDone)
    return status;
  if (args.Has("--camera-path")) job.CameraPath = args.Value("--camera-path");
  if (job.Render.Width % 2 != 0 || job.Render.Height % 2 != 0) {
    return refuse("--size takes even sizes only (H.264 stores colour at half the width and height): " +
                  args.Value("--size"));
  }
  if (args.Has("--quality")) {
    const auto crf = ParseInteger(args.Value("--quality"));
    if (!crf || *crf < 1 || *crf > kVideoMaxCrf) {
      return refuse("--quality takes 1 (best) to " + std::to_string(kVideoMaxCrf) + " (smallest file)");
    }
    job.Crf = *crf;
  }
  if (args.Has("--music")) job.Music = args.Value("--music");
  if (fromShow) {
    if (const int status = ReadShowFolder(args, args.Value("--show"), io, job); status != kExitDone) return status;
  }
  if (args.Has("--music-offset")) {
    const std::string& text = args.Value("--music-offset");
    const std::optional<double> offset = IsBlankText(text) ? std::nullopt : ReadDecimal(text, '.');
    if (!job.Music) return refuse("--music-offset needs --music, or a show with music");
    if (!offset || !std::isfinite(*offset) || std::fabs(*offset) > 86400) {
      return refuse("--music-offset takes seconds, -86400 to 86400");
    }
    job.MusicOffsetSeconds = *offset;
  }
  // A slip of the keyboard must not replace the show or the music with the video.
  std::vector<fs::path> inputs = CliInputFiles(args);
  if (!job.ShowFile.empty()) inputs.push_back(job.ShowFile);
  if (job.Music) inputs.push_back(*job.Music);
  if (job.CameraPath) inputs.push_back(*job.CameraPath);
  if (const int status = CheckCliOutputs(io, {{"-o", job.Output}}, inputs); status != kExitDone) return status;
  // Bad music is told before a show is compiled for it.
  if (job.Music) {
    if (const auto music = AudioTrack::Open(job.Music->string(), job.MusicOffsetSeconds); !music) {
      return refuse(music.Message());
    }
  }
  return kExitDone;
}

// The compiled show of --show, in the temporary folder for as long as the export runs.
class TemporaryShowFile {
 public:
  TemporaryShowFile() : path_(fs::temp_directory_path() / ("orvane-video-" + std::to_string(getpid()) + ".dat")) {}
  ~TemporaryShowFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  TemporaryShowFile(const TemporaryShowFile&) = delete;
  TemporaryShowFile& operator=(const TemporaryShowFile&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// The show compiled at its seed; without --camera the camera frames what it measured.
int CompileShow(const CliArgs& args, CliIo& io, VideoJob& job) {
  CompiledShowFolder compiled;
  if (const int status = CompileShowFolderInto(args, io, job.ShowFile, &compiled); status != kExitDone) return status;
  if (!job.Render.Camera) {
    if (const std::optional<SceneBox> box = ShowBox(compiled.Cues, compiled.Extents, kGridFloorY)) {
      const CameraPose pose = FitCamera(*box, static_cast<double>(job.Render.Width) / job.Render.Height);
      job.Render.Camera = RenderCamera{pose.Yaw, pose.Pitch, pose.X, pose.Y, pose.Z};
    }
  }
  return kExitDone;
}

// Redraws a terminal line at most ten times a second; one "frame N/M" line per step for
// a program reading the pipe.
class VideoProgressPrinter {
 public:
  VideoProgressPrinter(CliIo& io, bool lines) : io_(io), lines_(lines), terminal_(io.ErrIsTerminal && !lines) {}
  void operator()(int64_t done, int64_t total) {
    const auto now = std::chrono::steady_clock::now();
    const bool last = done == total;
    if (!last && now - shown_ < std::chrono::milliseconds(100)) return;
    if (lines_ && done == printed_) return;
    shown_ = now;
    printed_ = done;
    const ExportProgress p{done, total, std::chrono::duration<double>(now - start_).count(), kFramesPerSecond};
    if (lines_) io_.Err << ProgressLine(p) << "\n" << std::flush;
    if (terminal_) io_.Err << "\r\033[K" << ProgressText(p) << std::flush;
  }
  void Clear() {
    if (terminal_) io_.Err << "\r\033[K" << std::flush;
  }

 private:
  CliIo& io_;
  bool lines_, terminal_;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point shown_{};
  int64_t printed_ = -1;
};

int Video(const CliArgs& args, CliIo& io) {
  VideoJob job;
  if (const int status = ReadVideoJob(args, io, job); status != kExitDone) return status;
  VideoProgressPrinter printer(io, args.Flags.count("--progress-lines") != 0);
  const auto started = std::chrono::steady_clock::now();
  VideoExportReport report;
  std::optional<TemporaryShowFile> compiled;
  if (args.Has("--show")) {
    compiled.emplace();
    job.ShowFile = compiled->Path();
    if (const int status = CompileShow(args, io, job); status != kExitDone) return status;
  }
  std::atomic<bool> stopped{io.Stop.stop_requested()};
  const std::stop_callback onStop(io.Stop, [&stopped] { stopped.store(true); });
  report = ExportVideo(job, stopped, [&printer](int64_t done, int64_t total) { printer(done, total); });
  printer.Clear();
  if (report.Stopped) {
    ReportError(io, "stopped; no video written");
    return kExitStopped;
  }
  if (!report.Error.empty()) {
    ReportError(io, report.Error);
    return kExitBadInput;
  }
  for (const std::string& warning : report.Warnings) ReportError(io, warning);
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  io.Out << "file: " << job.Output.string() << "\n"
         << "size: " << job.Render.Width << "x" << job.Render.Height << "\n"
         << "frames: " << report.Frames << "\n"
         << "seconds: " << FormatFixed(report.Seconds, 2) << "\n"
         << "music: " << (job.Music ? job.Music->string() : std::string("none")) << "\n"
         << "bytes: " << report.Bytes << "\n"
         << "export-seconds: " << FormatFixed(took, 2) << "\n"
         << "speed: " << FormatFixed(took > 0 ? report.Seconds / took : 0, 2) << "\n";
  return kExitDone;
}

}  // namespace

CliCommand VideoCommand() {
  std::vector<std::string> values = {"--show",         "--seed",    "-o",       "--size",   "--music",
                                     "--music-offset", "--scenery", "--camera", "--quality"};
  values.insert(values.end(), kNightValueOptions.begin(), kNightValueOptions.end());
  std::vector<std::string> flags = {"--overview", "--flat", "--progress-lines"};
  flags.insert(flags.end(), kNightFlagOptions.begin(), kNightFlagOptions.end());
  return {
      "video",
      "plays a compiled show, or a show folder compiled on the way (--show, with its music unless --music), headless into an MP4 (H.264, 25 frames per second, 1280x720 unless --size); "
      "--look night (the default for --show) draws an open site at night seen from the audience (sky, ground or "
      "--ground water with reflections, glow; a show folder's site gives the scale, the ground and the viewpoint), with the show's title over the first two seconds (--title TEXT, "
      "--no-title) and the camera fitted to the show or following --camera-path FILE (the folder's camera.csv for "
      "--show); --look classic (the default for a show file) gives the display window's drawing, where --scenery "
      "none gives a black background for laying over footage; --music adds the music (AAC) from --music-offset "
      "seconds on, cut to the show's length; --quality is x264's rate factor (default 20); --progress-lines prints "
      "\"frame N/M\" lines on stderr; Ctrl-C stops it (exit 130) and leaves no file",
      "(--show DIR [--seed S] | SHOWFILE) -o OUT.mp4 [--size WxH] [--music FILE] [--music-offset S] "
      "[--look night|classic] [--camera-path FILE] [--title TEXT | --no-title] [--ground field|water] "
      "[--scenery model|grid|none] [--camera yaw,pitch,x,y,z] [--overview] [--flat] [--quality N] [--progress-lines]",
      "orvane-cli video --show examples/shows/harbour-night --seed 7 -o show.mp4",
      values,
      Video,
      flags};
}

}  // namespace orvane::cli
