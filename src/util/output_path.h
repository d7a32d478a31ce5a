#pragma once
// The checks every output path passes before anything is written to it. Writes go through
// a temporary file renamed over the target, and a rename replaces whatever has the name:
// an existing target that is not a regular file (a folder, a FIFO, a device, or a link to
// one) is refused, and so is a target that is one of the command's own inputs.

#include <filesystem>
#include <optional>
#include <vector>

#include "util/result.h"

namespace orvane {

// "cannot write X: it is not a regular file" (or a folder) for an existing target that is
// not a regular file; a link is judged by what it points to, a dangling one is fine.
Result<> CheckOutputTarget(const std::filesystem::path& target);

// The input that `target` is: the same file by name, through links, or as a hard link.
// Nothing when the target does not exist or is none of them.
std::optional<std::filesystem::path> InputAt(const std::filesystem::path& target,
                                             const std::vector<std::filesystem::path>& inputs);

}  // namespace orvane
