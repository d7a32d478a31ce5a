#pragma once
// products.csv: what a show designer buys, one row per product, naming the device it
// fires. CSV with a header naming the columns (compared without case), RFC 4180 quoting
// as cues.csv; "code" is required. Columns this version does not know are kept, in their
// order, after the known ones. A bad row refuses the whole table, naming line and column.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/device_lookup.h"
#include "util/result.h"

namespace orvane {

inline constexpr const char* kProductFileName = "products.csv";
inline constexpr uintmax_t kMaxProductFileBytes = uintmax_t{8} << 20;
inline constexpr size_t kMaxProducts = 100'000;

enum class ProductType { kShell, kComet, kMine, kCake, kCandle, kFountain, kRocket, kOther };
inline constexpr int kProductTypeCount = 8;

// "shell", "comet", ...: as products.csv writes them.
const char* ProductTypeName(ProductType type);
// Any case; nothing for a name that is not a type.
std::optional<ProductType> ProductTypeFromName(std::string_view name);

struct Product {
  int32_t Code = 0;  // the device it fires
  std::string Name;
  ProductType Type = ProductType::kOther;  // an empty type reads as other
  std::optional<double> CalibreMm;         // above 0
  std::optional<int32_t> Shots;            // above 0
  std::optional<double> DurationS;         // seconds, from 0
  std::optional<int64_t> PrefireMs;        // nothing: measured from the device
  std::string Colours;                     // "red to green", "gold+silver" or free text
  std::string Maker;
  std::string PartNumber;
  std::optional<double> Price;     // from 0, in the show's currency
  std::optional<int32_t> Stock;    // from 0
  std::vector<std::string> Extra;  // one value per ProductTable::ExtraColumns
  int Line = 0;                    // of products.csv, for messages (0: made otherwise)

  bool operator==(const Product&) const = default;
};

struct ProductTable {
  std::vector<std::string> ExtraColumns;  // header names as read
  std::vector<Product> Rows;              // file order; codes unique

  bool operator==(const ProductTable&) const = default;
};

// The row for the device, or null.
const Product* FindProduct(const ProductTable& table, int32_t code);

// Reads the table; codes must name devices of `devices` (with null, they are only read).
// `fileName` starts the messages ("products.csv line 4: calibre_mm -75 is below 0.").
Result<ProductTable> ReadProducts(std::string_view text, std::string_view fileName, const DeviceRecords* devices);

// The table as products.csv: the known columns in their usual order, then the others.
std::string ProductsText(const ProductTable& table);

}  // namespace orvane
