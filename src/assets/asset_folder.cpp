#include "assets/asset_folder.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace orvane {

std::string AssetFolder;

namespace {
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return path;
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  const std::string wanted = path.filename().string();
  std::vector<std::filesystem::path> matches;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return path;
  for (const auto& entry : it) {
    if (SameTextIgnoringCase(entry.path().filename().string(), wanted)) matches.push_back(entry.path());
  }
  if (matches.empty()) return path;
  return *std::min_element(matches.begin(), matches.end());
}

}  // namespace orvane
