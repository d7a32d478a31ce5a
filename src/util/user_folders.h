#pragma once
// A folder of the user's own for what the command line writes when no place is named (the
// compiled show): a fixed name in the shared temporary folder could be taken by anyone,
// and another user's file there would block every other user.

#include <filesystem>

#include "util/result.h"

namespace orvane {

// $XDG_CACHE_HOME/orvane, else ~/.cache/orvane, else $XDG_RUNTIME_DIR/orvane: the cache
// first, as a compiled show can take gigabytes and the runtime folder is a small one in
// memory. Made with mode 0700 when missing; refused when it is a link, belongs to another
// user, or is open to others and cannot be closed.
Result<std::filesystem::path> UserCacheFolder();

}  // namespace orvane
