#include "assets/asset_store.h"

#include "assets/asset_folder.h"

namespace orvane {

AssetLookup AssetStore::Find(std::string_view type, std::string_view name) const {
  for (const AssetEntry& entry : entries_) {
    if (!SameTextIgnoringCase(entry.Type, type) || !SameTextIgnoringCase(entry.Name, name)) continue;
    if (!entry.Intact || entry.Bytes.data() == nullptr) return {AssetLookupStatus::Unreadable, {}};
    return {AssetLookupStatus::Found, entry.Bytes};
  }
  return {AssetLookupStatus::NotFound, {}};
}

const AssetStore& EmbeddedAssets() {
  static const AssetStore store(EmbeddedAssetTable());
  return store;
}

}  // namespace orvane
