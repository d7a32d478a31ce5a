#pragma once
// The drawing options that `render` and `preview` share.

#include "app/cli_command.h"
#include "export/show_render.h"

namespace orvane::cli {

// --size, --frames, --scenery, --particles, --flat, --overview, --no-texts, --camera. kExitDone, or the exit status
// after a message.
int ReadRenderOptions(const CliArgs& args, CliIo& io, RenderOptions& options);

}  // namespace orvane::cli
