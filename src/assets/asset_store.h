#pragma once
// Named assets compiled into the program (its "resources"), looked up by type and name
// with letter case ignored. A lookup finds the bytes, finds nothing, or finds an entry
// whose bytes are not usable.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace orvane {

struct AssetEntry {
  std::string_view Type;  // "BINARY", "BMP", "JPEG", "TGA"
  std::string_view Name;  // "ARC", "PARTICLE", ...
  std::span<const uint8_t> Bytes;
  bool Intact = true;  // false when the stored bytes are not what was embedded
};

enum class AssetLookupStatus : uint8_t { Found, NotFound, Unreadable };

struct AssetLookup {
  AssetLookupStatus Status = AssetLookupStatus::NotFound;
  std::span<const uint8_t> Bytes;
};

class AssetStore {
 public:
  explicit AssetStore(std::vector<AssetEntry> entries) : entries_(std::move(entries)) {}
  AssetLookup Find(std::string_view type, std::string_view name) const;
  const std::vector<AssetEntry>& Entries() const { return entries_; }

 private:
  std::vector<AssetEntry> entries_;
};

// The program's own assets, embedded at build time from resources/.
const AssetStore& EmbeddedAssets();

// The generated table behind EmbeddedAssets().
std::vector<AssetEntry> EmbeddedAssetTable();

}  // namespace orvane
