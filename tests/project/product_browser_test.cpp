// The product browser's filters and thumbnails, without a toolkit.

#include "project/product_browser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "compiler/compiled_device_prep.h"
#include "support/form_device.h"

namespace orvane {
namespace {

BrowsedProduct Product(std::string name, std::string type, std::optional<double> calibre, std::string colours) {
  BrowsedProduct p;
  p.Shelf = "generated";
  p.ShelfFolder = "/library/generated";
  p.Code = 1000;
  p.Name = std::move(name);
  p.Type = std::move(type);
  p.CalibreMm = calibre;
  p.Colours = std::move(colours);
  p.Maker = "Orvane";
  return p;
}

TEST(ProductBrowser, ColourWordsSplitChangesAndDevices) {
  EXPECT_EQ(ColourWords("red to green+gold"), (std::vector<std::string>{"red", "green", "gold"}));
  EXPECT_EQ(ColourWords("Red+red"), (std::vector<std::string>{"red"}));
  EXPECT_EQ(ColourWords(""), std::vector<std::string>{});
  EXPECT_EQ(ColourWords("white, blue"), (std::vector<std::string>{"white", "blue"}));
}

TEST(ProductBrowser, FiltersByTypeCalibreAndColour) {
  const std::vector<BrowsedProduct> all = {
      Product("75mm red peony", "shell", 75, "red"),
      Product("100mm gold willow", "shell", 100, "gold"),
      Product("100mm red to green crossette", "shell", 100, "red to green"),
      Product("50mm silver mine", "mine", 50, "silver"),
      Product("sparkler", "other", std::nullopt, ""),
  };
  const struct {
    ProductFilter Filter;
    std::vector<std::string> Names;
  } cases[] = {
      {{}, {"75mm red peony", "100mm gold willow", "100mm red to green crossette", "50mm silver mine", "sparkler"}},
      {{"shell", std::nullopt, ""}, {"75mm red peony", "100mm gold willow", "100mm red to green crossette"}},
      {{"", 100.0, ""}, {"100mm gold willow", "100mm red to green crossette"}},
      {{"", std::nullopt, "green"}, {"100mm red to green crossette"}},
      {{"shell", 75.0, "red"}, {"75mm red peony"}},
      {{"mine", 75.0, ""}, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> names;
    for (const BrowsedProduct& p : all)
      if (c.Filter.Matches(p)) names.push_back(p.Name);
    EXPECT_EQ(names, c.Names) << c.Filter.Type << " " << c.Filter.CalibreMm.value_or(0) << " " << c.Filter.Colour;
  }
  const FilterChoices choices = ChoicesOf(all);
  EXPECT_EQ(choices.Types, (std::vector<std::string>{"mine", "other", "shell"}));
  EXPECT_EQ(choices.Calibres, (std::vector<double>{50, 75, 100}));
  EXPECT_EQ(choices.Colours, (std::vector<std::string>{"gold", "green", "red", "silver"}));
  EXPECT_EQ(CalibreChoiceText(62.5), "62.5 mm");
  EXPECT_EQ(CalibreChoiceText(100), "100 mm");
}

TEST(ProductBrowser, AThumbnailIsNamedAfterItsDevicesAndDrawnByTheRightCommand) {
  const std::vector<TBaseDevice> chain = {testing::FormDevice(1000), testing::FormDevice(1001)};
  const std::string name = ThumbnailFileName(chain);
  EXPECT_EQ(name, ThumbnailFileName(chain)) << "the same devices, the same file";
  EXPECT_EQ(name.size(), 20u);
  std::vector<TBaseDevice> changed = chain;
  changed[1].StarSpeed += 1;
  EXPECT_NE(ThumbnailFileName(changed), name) << "a changed product draws again";

  const std::vector<std::string> generated =
      ThumbnailArguments(Product("100mm gold willow", "shell", 100, "gold"), "t.png");
  ASSERT_GE(generated.size(), 3u);
  EXPECT_EQ(generated[1], "--effect");
  EXPECT_EQ(generated[2], "100mm gold willow");
  BrowsedProduct preset = Product("Preset 1 shell", "shell", 40, "green to yellow");
  preset.Maker = "";
  preset.Code = 101;
  const std::vector<std::string> shelf = ThumbnailArguments(preset, "t.png");
  EXPECT_EQ((std::vector<std::string>(shelf.begin() + 1, shelf.begin() + 5)),
            (std::vector<std::string>{"--devices", "/library/generated", "--root", "101"}));
  EXPECT_EQ(shelf.back(), "t.png");
  EXPECT_NE(std::find(shelf.begin(), shelf.end(), "--no-texts"), shelf.end());
}

TEST(ProductBrowser, TheCacheFolderFollowsTheEnvironment) {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  const std::string saved = xdg ? xdg : "";
  setenv("XDG_CACHE_HOME", "/tmp/cachehome", 1);
  EXPECT_EQ(ThumbnailCacheFolder(), std::filesystem::path("/tmp/cachehome/orvane/thumbnails"));
  setenv("XDG_CACHE_HOME", "relative/not/used", 1);
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home == '/') {
    EXPECT_EQ(ThumbnailCacheFolder(), std::filesystem::path(home) / ".cache/orvane/thumbnails");
  }
  if (xdg) {
    setenv("XDG_CACHE_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_CACHE_HOME");
  }
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(ProductBrowser, ListsTheShippedShelvesAndTheirChains) {
  const PrepareStep prepare = [](TBaseDevice& d) { return PrepareCompiledPart(d); };
  std::vector<LibraryShelf> shelves;
  for (const char* name : {"presets", "generated"}) {
    Result<LibraryShelf> shelf = OpenLibraryShelf(std::filesystem::path(ORVANE_LIBRARY_DIR) / name, prepare);
    ASSERT_TRUE(shelf) << shelf.Message();
    shelves.push_back(std::move(shelf.Value()));
  }
  const std::vector<BrowsedProduct> products = BrowsedProductsOf(shelves);
  ASSERT_EQ(products.size(), shelves[0].Products.Rows.size() + shelves[1].Products.Rows.size());
  EXPECT_EQ(products.front().Shelf, "presets");
  EXPECT_EQ(products.back().Shelf, "generated");
  const auto shell =
      std::find_if(products.begin(), products.end(), [](const BrowsedProduct& p) { return p.Code == 601; });
  ASSERT_NE(shell, products.end());
  EXPECT_EQ(shell->Type, "shell");
  EXPECT_EQ(shell->CalibreMm, 50.0);
  EXPECT_EQ(shell->Colours, "orange+pink");
  EXPECT_EQ(shell->ShelfFolder, shelves[0].Folder);

  // A chain is its root and what it reaches, under the shelf's own codes.
  struct Case {
    size_t Shelf;
    int32_t Code;
    std::vector<int32_t> Codes;
  };
  for (const Case& c : std::vector<Case>{{0, 601, {601, 602, 603, 604}}, {1, 1024, {1024, 1025}}, {0, 999, {}}}) {
    std::vector<int32_t> codes;
    for (const TBaseDevice& d : ShelfChain(shelves[c.Shelf], c.Code)) codes.push_back(d.Definition.Code);
    EXPECT_EQ(codes, c.Codes) << c.Code;
  }
}

}  // namespace
}  // namespace orvane
