#pragma once
// The product library: a folder of shelves, each a folder with device files and its own
// products.csv (library/presets, library/generated, or a user's own). Adding a product to a
// show copies its device and everything its chain reaches under codes the show does not use.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "model/device_lookup.h"
#include "show/product_list.h"
#include "util/result.h"

namespace orvane {

inline constexpr const char* kPresetsShelfName = "presets";

struct LibraryShelf {
  std::string Name;  // the folder's name
  std::filesystem::path Folder;
  DeviceRecords Devices;  // prepared; codes unique
  ProductTable Products;  // every code names one of Devices
};

// The library's shelves: its sub-folders that hold a products.csv, by name.
Result<std::vector<std::filesystem::path>> LibraryShelfFolders(const std::filesystem::path& library);

// Loads a shelf: its device files (as a folder Load reads them) and products.csv.
Result<LibraryShelf> OpenLibraryShelf(const std::filesystem::path& folder, const PrepareStep& prepare);

struct ChainCopy {
  DeviceRecords Devices;             // the root first, prepared, links renumbered
  std::map<int32_t, int32_t> Codes;  // shelf code -> code in the show
  int32_t Root() const { return Devices.front()->Definition.Code; }
};

// The device `code` of `from` and every device its chain reaches, copied for `into`: under
// their own codes when none is taken there, otherwise renumbered from the next hundred above
// the largest code in use: the root, then the others in the order of their codes. Refused
// when a linked device is missing.
Result<ChainCopy> CopyChainInto(const DeviceRecords& from, int32_t code, const DeviceRecords& into,
                                const PrepareStep& prepare);

}  // namespace orvane
