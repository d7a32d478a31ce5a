#pragma once
// The show form of `orvane-cli compile`: --show DIR, or --devices DIR with --cues FILE.csv.

#include "app/cli_command.h"
#include "compiler/compile_thread.h"
#include "project/show_project.h"

namespace orvane::cli {

// Opens --show DIR into the project: kExitDone, or the exit status after a message on stderr.
int OpenCliShow(const CliArgs& args, CliIo& io, ShowProject& project);

// job holds the output and the limits; scaleValue is --scale or 1 (the show's Scale
// replaces it when --scale is absent).
int CompileCueList(const CliArgs& args, CliIo& io, float scaleValue, CompileJob job);

}  // namespace orvane::cli
