#include "util/user_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace orvane {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return fs::path(value);
}

std::optional<fs::path> BaseFolder() {
  if (auto cache = AbsoluteVariable("XDG_CACHE_HOME")) return cache;
  if (auto home = AbsoluteVariable("HOME")) return *home / ".cache";
  return AbsoluteVariable("XDG_RUNTIME_DIR");
}

}  // namespace

Result<fs::path> UserCacheFolder() {
  const std::optional<fs::path> base = BaseFolder();
  if (!base) return Fail("no folder of your own to write in (HOME is not set); name the file with -o");
  std::error_code ec;
  fs::create_directories(*base, ec);
  const fs::path folder = *base / "orvane";
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
    return Fail("cannot make the folder " + folder.string() + ": " + std::strerror(errno));
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0)
    return Fail("cannot use the folder " + folder.string() + ": " + std::strerror(errno));
  if (!S_ISDIR(info.st_mode)) return Fail("cannot use " + folder.string() + ": it is not a folder");
  if (info.st_uid != geteuid())
    return Fail("cannot use the folder " + folder.string() + ": it belongs to another user");
  if ((info.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0)
    return Fail("cannot close the folder " + folder.string() + " to other users: " + std::strerror(errno));
  return folder;
}

}  // namespace orvane
