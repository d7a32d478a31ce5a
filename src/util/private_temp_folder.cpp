#include "util/private_temp_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>

namespace orvane {

PrivateTempFolder::PrivateTempFolder(const std::string& prefix) {
  std::error_code ec;
  std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec || base.empty()) base = "/tmp";
  std::string pattern = (base / (prefix + "-XXXXXX")).string();
  // mkdtemp makes the folder with mode 0700.
  if (mkdtemp(pattern.data()) == nullptr) {
    error_ = "cannot make a temporary folder in " + base.string() + ": " + std::strerror(errno);
    return;
  }
  path_ = pattern;
}

PrivateTempFolder::~PrivateTempFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace orvane
