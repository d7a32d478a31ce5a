#include "assets/asset_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace orvane {

std::string_view ResourceNameOf(std::string_view fileName) { return fileName.substr(0, fileName.find('.')); }

void ExtractResource(const AssetStore& store, std::string_view type, std::string_view name,
                     const std::string& targetPath) {
  const AssetLookup found = store.Find(type, name);
  if (found.Status == AssetLookupStatus::NotFound) {
    throw AssetError("Resource " + std::string(name) + " not found");
  }
  if (found.Status == AssetLookupStatus::Unreadable) {
    throw AssetError("Resource " + std::string(name) + " cannot be read");
  }
  std::FILE* file = std::fopen(targetPath.c_str(), "wb");
  if (file == nullptr) {
    throw AssetError("Cannot create file \"" + targetPath + "\". " + std::strerror(errno));
  }
  const size_t size = found.Bytes.size();
  const bool written = size == 0 || std::fwrite(found.Bytes.data(), 1, size, file) == size;
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    // A half-written asset would load as a damaged model later: leave none behind.
    std::error_code ignored;
    std::filesystem::remove(targetPath, ignored);
    throw AssetError("Cannot write file \"" + targetPath + "\". " + std::strerror(written ? errno : writeErrno));
  }
}

void ExtractResource(std::string_view type, std::string_view name, const std::string& targetPath) {
  ExtractResource(EmbeddedAssets(), type, name, targetPath);
}

}  // namespace orvane
