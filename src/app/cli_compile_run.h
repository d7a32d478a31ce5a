#pragma once
// The part both forms of `orvane-cli compile` share: the compile on this thread with
// progress on a terminal, and the figures it prints.

#include <cstddef>
#include <optional>

#include "app/cli_command.h"
#include "compiler/compile_thread.h"

namespace orvane::cli {

// Compiles the job and prints file, [cues,] frames, blocks, records, seconds and
// compile-seconds. Nothing (after the message) when no show was written: the status is
// then in `failed`. io.Stop ends the compile early.
std::optional<CompileOutcome> CompileAndPrintFigures(const CompileJob& job, float scale, CliIo& io,
                                                     std::optional<size_t> cues, int& failed);

// A written show's exit status: refused, with the message, when a bound cut it.
int WrittenShowStatus(const CompileOutcome& outcome, CliIo& io);

}  // namespace orvane::cli
