#include "assets/asset_files.h"

#include "util/safe_file.h"

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
  // Through the safe writer: a half-written asset would load as a damaged model later,
  // and a link planted under the asset's name is replaced, never written through.
  SafeFile file(targetPath);
  if (!file.Opened()) throw AssetError("Cannot create file \"" + targetPath + "\". " + file.ErrorText());
  if (!file.Write(found.Bytes) || !file.Commit())
    throw AssetError("Cannot write file \"" + targetPath + "\". " + file.ErrorText());
}

void ExtractResource(std::string_view type, std::string_view name, const std::string& targetPath) {
  ExtractResource(EmbeddedAssets(), type, name, targetPath);
}

}  // namespace orvane
