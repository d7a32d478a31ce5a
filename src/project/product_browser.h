#pragma once
// The show window's product browser without a toolkit: the library's products as it lists
// them, its filters (type, calibre, colour), and the thumbnails drawn by orvane-cli in a
// process of their own and kept in a cache named after the product's device files.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/device.h"
#include "show/product_library.h"

namespace orvane {

// One product of a library shelf.
struct BrowsedProduct {
  std::string Shelf;  // the shelf's name ("generated", "presets")
  std::filesystem::path ShelfFolder;
  int32_t Code = 0;  // its device in the shelf
  std::string Name;
  std::string Type;  // as products.csv writes it
  std::optional<double> CalibreMm;
  std::string Colours;  // "red to green", "gold+silver"
  std::string Maker;
};

// Every product of the shelves, shelf by shelf in their rows' order.
std::vector<BrowsedProduct> BrowsedProductsOf(const std::vector<LibraryShelf>& shelves);

// The product's device and every device its chain reaches, root first, as the shelf holds
// them; empty when the shelf lacks the device or a link of its chain.
std::vector<TBaseDevice> ShelfChain(const LibraryShelf& shelf, int32_t code);

// The colour words of a colours text: "red to green+gold" gives red, green, gold.
std::vector<std::string> ColourWords(std::string_view colours);

struct ProductFilter {
  std::string Type;                 // empty: any
  std::optional<double> CalibreMm;  // nothing: any
  std::string Colour;               // one colour word; empty: any
  bool Matches(const BrowsedProduct& product) const;
};

// What the filters offer: every type, calibre and colour word the products have, sorted.
struct FilterChoices {
  std::vector<std::string> Types;
  std::vector<double> Calibres;
  std::vector<std::string> Colours;
};
FilterChoices ChoicesOf(const std::vector<BrowsedProduct>& products);

// "75 mm", "62.5 mm".
std::string CalibreChoiceText(double calibreMm);

inline constexpr int kThumbnailWidth = 128;
inline constexpr int kThumbnailHeight = 96;

// $XDG_CACHE_HOME/orvane/thumbnails, or ~/.cache/orvane/thumbnails; nothing without either.
std::optional<std::filesystem::path> ThumbnailCacheFolder();

// The cache file of a product's thumbnail: named after the text of its device files (the
// chain, root first), so a changed product gets a new one.
std::string ThumbnailFileName(const std::vector<TBaseDevice>& chain);

// orvane-cli's arguments that draw the thumbnail into `out`. A product the recipes made
// (its name a description) is drawn from its description, framed on its burst; any other
// from its shelf's devices.
std::vector<std::string> ThumbnailArguments(const BrowsedProduct& product, const std::filesystem::path& out);

}  // namespace orvane
