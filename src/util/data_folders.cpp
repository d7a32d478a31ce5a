#include "util/data_folders.h"

#include <cstdlib>
#include <system_error>

namespace orvane {

namespace {

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace

std::optional<std::filesystem::path> DataRootFor(const std::filesystem::path& program) {
  if (const char* root = std::getenv(kDataRootVariable); root != nullptr && *root != '\0') {
    if (IsFolder(root)) return std::filesystem::path(root);
    return std::nullopt;  // a root the user named and that is not there is not silently replaced
  }
  const std::filesystem::path installed = program.parent_path() / ".." / kInstalledDataFolder;
  if (IsFolder(installed)) return installed.lexically_normal();
#ifdef ORVANE_SOURCE_ROOT
  if (IsFolder(ORVANE_SOURCE_ROOT)) return std::filesystem::path(ORVANE_SOURCE_ROOT);
#endif
  return std::nullopt;
}

std::optional<std::filesystem::path> DataRoot() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return DataRootFor(error ? std::filesystem::path() : self);
}

std::optional<std::filesystem::path> DataFolder(std::string_view name) {
  const auto root = DataRoot();
  if (!root) return std::nullopt;
  std::filesystem::path folder = *root / name;
  if (!IsFolder(folder)) return std::nullopt;
  return folder;
}

}  // namespace orvane
