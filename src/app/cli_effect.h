#pragma once
// The part of `effect` that `preview --effect` shares: a description made into device
// files in a folder, under codes the folder does not use yet.

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/cli_command.h"
#include "effects/effect_chain.h"

namespace orvane::cli {

// kExitDone with the chain written, or the exit status after a message.
int WriteEffectDevices(const std::string& text, const std::filesystem::path& folder, int32_t firstCode, CliIo& io,
                       EffectChain& chain);

}  // namespace orvane::cli
