#pragma once
// The drawing options that `render`, `preview` and `video` share.

#include <filesystem>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "export/show_render.h"

namespace orvane::cli {

// The options of each look, for the commands' option lists.
inline const std::vector<std::string> kNightValueOptions = {"--look", "--camera-path", "--title", "--ground"};
inline const std::vector<std::string> kNightFlagOptions = {"--no-title"};

// --size, --frames, --scenery, --particles, --flat, --overview, --no-texts, --camera; --look (else
// `look`) with the night look's --camera-path, --title, --no-title and --ground. Options
// of the other look are refused. kExitDone, or the exit status after a message.
int ReadRenderOptions(const CliArgs& args, CliIo& io, RenderOptions& options, RenderLook look = RenderLook::Classic);

// The camera path file's keys into options.Night.CameraAt; kExitDone or kExitBadInput after a message.
int ReadCameraPathFile(const std::filesystem::path& file, CliIo& io, RenderOptions& options);

}  // namespace orvane::cli
