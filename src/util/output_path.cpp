#include "util/output_path.h"

#include <sys/stat.h>

namespace orvane {

Result<> CheckOutputTarget(const std::filesystem::path& target) {
  struct stat info {};
  if (stat(target.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return {};
  const std::string start = "cannot write " + target.string() + ": it is ";
  if (S_ISDIR(info.st_mode)) return Fail(start + "a folder, not a regular file");
  return Fail(start + "not a regular file");
}

std::optional<std::filesystem::path> InputAt(const std::filesystem::path& target,
                                             const std::vector<std::filesystem::path>& inputs) {
  for (const std::filesystem::path& input : inputs) {
    std::error_code ec;
    if (std::filesystem::equivalent(target, input, ec)) return input;
  }
  return std::nullopt;
}

}  // namespace orvane
