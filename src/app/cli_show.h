#pragma once
// The show form of `orvane-cli compile`: --show DIR, or --devices DIR with --cues FILE.csv.

#include "app/cli_command.h"
#include "compiler/compile_thread.h"
#include "project/show_project.h"

#include <filesystem>
#include <vector>

namespace orvane::cli {

// Opens --show DIR into the project: kExitDone, or the exit status after a message on stderr.
int OpenCliShow(const CliArgs& args, CliIo& io, ShowProject& project);

// job holds the output and the limits; scaleValue is --scale or 1 (the show's Scale
// replaces it when --scale is absent).
int CompileCueList(const CliArgs& args, CliIo& io, float scaleValue, CompileJob job);

// The two below compile a show only to be drawn and removed (a video, a contact sheet):
// the disk keeps a small margin free beyond the show, not the bound of a show kept as a file.

// Device `root` of --devices DIR or --preset N and its chain (seeded by --seed) into `file`,
// as `compile` does, its figures kept off stdout.
int CompileDeviceInto(const CliArgs& args, CliIo& io, int32_t root, const std::filesystem::path& file);

// What a show folder's compile for another command (video, preview) leaves besides its file.
struct CompiledShowFolder {
  std::vector<RootCue> Cues;       // as compiled, in step with Extents
  std::vector<CueExtent> Extents;  // each cue's particles
};

// Compiles --show DIR (at --seed, or the show's own) into `file` as `compile --show` does,
// its figures kept off stdout. kExitDone, or the exit status after the message.
int CompileShowFolderInto(const CliArgs& args, CliIo& io, const std::filesystem::path& file,
                          CompiledShowFolder* compiled = nullptr);

}  // namespace orvane::cli
