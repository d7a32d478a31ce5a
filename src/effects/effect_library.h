#pragma once
// The library's generated shelf: a fixed catalogue of descriptions, every type at every
// calibration calibre and some colour variants, made into device files and a products.csv.
// Nothing in it depends on the clock or the run: rebuilding gives the same bytes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "show/staged_files.h"
#include "util/result.h"

namespace orvane {

inline constexpr std::string_view kGeneratedShelfName = "generated";
// Products take codes upwards from here, in catalogue order.
inline constexpr int32_t kGeneratedFirstCode = 1000;

std::vector<std::string> GeneratedCatalogue();

struct ShelfContent {
  std::vector<FileContent> Files;  // device files, then products.csv
  size_t Products = 0;
};

// Every product of the catalogue, generated and measured.
Result<ShelfContent> BuildGeneratedShelf();

// Writes the shelf into the folder (made when missing): all files together, then the
// device files the shelf no longer has are removed.
Result<> WriteShelf(const std::filesystem::path& folder, const ShelfContent& shelf);

// The files of the folder that differ from the shelf: missing, changed, or device files
// the shelf does not have. Empty when the folder holds exactly the shelf.
std::vector<std::string> ShelfDifferences(const std::filesystem::path& folder, const ShelfContent& shelf);

}  // namespace orvane
