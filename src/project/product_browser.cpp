#include "project/product_browser.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "effects/effect_description.h"
#include "effects/product_row.h"
#include "model/device_file_writer.h"

namespace orvane {
namespace fs = std::filesystem;

std::vector<BrowsedProduct> BrowsedProductsOf(const std::vector<LibraryShelf>& shelves) {
  std::vector<BrowsedProduct> products;
  for (const LibraryShelf& shelf : shelves)
    for (const Product& row : shelf.Products.Rows)
      products.push_back({shelf.Name, shelf.Folder, row.Code, row.Name, ProductTypeName(row.Type), row.CalibreMm,
                          row.Colours, row.Maker});
  return products;
}

std::vector<TBaseDevice> ShelfChain(const LibraryShelf& shelf, int32_t code) {
  // Copied into an empty list, the chain keeps its own codes.
  const DeviceRecords none;
  const Result<ChainCopy> copy = CopyChainInto(shelf.Devices, code, none, [](TBaseDevice&) { return true; });
  std::vector<TBaseDevice> chain;
  if (!copy) return chain;
  for (const auto& device : copy.Value().Devices) chain.push_back(*device);
  return chain;
}

std::vector<std::string> ColourWords(std::string_view colours) {
  std::vector<std::string> words;
  std::string word;
  auto flush = [&] {
    if (!word.empty() && word != "to" && std::find(words.begin(), words.end(), word) == words.end())
      words.push_back(word);
    word.clear();
  };
  for (char c : colours) {
    if (c == ' ' || c == '+' || c == ',' || c == '/') {
      flush();
    } else {
      word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  flush();
  return words;
}

bool ProductFilter::Matches(const BrowsedProduct& p) const {
  if (!Type.empty() && p.Type != Type) return false;
  if (CalibreMm && (!p.CalibreMm || *p.CalibreMm != *CalibreMm)) return false;
  if (!Colour.empty()) {
    const std::vector<std::string> words = ColourWords(p.Colours);
    if (std::find(words.begin(), words.end(), Colour) == words.end()) return false;
  }
  return true;
}

FilterChoices ChoicesOf(const std::vector<BrowsedProduct>& products) {
  std::set<std::string> types, colours;
  std::set<double> calibres;
  for (const BrowsedProduct& p : products) {
    if (!p.Type.empty()) types.insert(p.Type);
    if (p.CalibreMm) calibres.insert(*p.CalibreMm);
    for (std::string& w : ColourWords(p.Colours)) colours.insert(std::move(w));
  }
  return {{types.begin(), types.end()}, {calibres.begin(), calibres.end()}, {colours.begin(), colours.end()}};
}

std::string CalibreChoiceText(double calibreMm) {
  char text[32];
  std::snprintf(text, sizeof text, "%g mm", calibreMm);
  return text;
}

std::optional<fs::path> ThumbnailCacheFolder() {
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/')
    return fs::path(cache) / "orvane" / "thumbnails";
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
    return fs::path(home) / ".cache" / "orvane" / "thumbnails";
  return std::nullopt;
}

std::string ThumbnailFileName(const std::vector<TBaseDevice>& chain) {
  // FNV-1a over the device files: the same bytes on every machine and run.
  uint64_t hash = 1469598103934665603ull;
  auto mix = [&hash](std::string_view bytes) {
    for (unsigned char c : bytes) {
      hash ^= c;
      hash *= 1099511628211ull;
    }
  };
  mix("thumbnail 1 " + std::to_string(kThumbnailWidth) + "x" + std::to_string(kThumbnailHeight));
  for (const TBaseDevice& d : chain) mix(DeviceFileText(d));
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.png", static_cast<unsigned long long>(hash));
  return name;
}

std::vector<std::string> ThumbnailArguments(const BrowsedProduct& p, const fs::path& out) {
  std::vector<std::string> args = {"preview"};
  const Result<EffectDescription> described = ParseEffectDescription(p.Name);
  if (p.Maker == kGeneratedMaker && described && DescriptionText(described.Value()) == p.Name) {
    args.insert(args.end(), {"--effect", p.Name});
  } else {
    args.insert(args.end(), {"--devices", p.ShelfFolder.string(), "--root", std::to_string(p.Code)});
  }
  args.insert(args.end(),
              {"--seed", "1", "--tiles", "1", "--no-texts", "--scenery", "none", "--size",
               std::to_string(kThumbnailWidth) + "x" + std::to_string(kThumbnailHeight), "-o", out.string()});
  return args;
}

}  // namespace orvane
