#pragma once
// The one check of a command's output paths, before anything is read or written: no
// output may be an input of the same command (a device file, cues.csv, show.json, the
// music, the show file), two outputs may not be one file, and an existing output that is
// not a regular file is refused.

#include <filesystem>
#include <vector>

#include "app/cli_command.h"

namespace orvane::cli {

struct CliOutput {
  const char* Option;  // "-o", names the output in messages
  std::filesystem::path Path;
};

// kExitDone, or kExitBadInput after the message.
int CheckCliOutputs(CliIo& io, const std::vector<CliOutput>& outputs, const std::vector<std::filesystem::path>& inputs);

// The inputs of --devices DIR, --show DIR and --cues FILE where given.
std::vector<std::filesystem::path> CliInputFiles(const CliArgs& args);

}  // namespace orvane::cli
