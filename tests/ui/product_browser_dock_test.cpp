// The product browser: filters over the library's products, "Add to show", and thumbnails
// drawn by the real orvane-cli into a cache, one at a time, while the dock stays usable.

#include "ui/product_browser_dock.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "effects/effect_recipe.h"
#include "qt_test_helpers.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::ProcessEvents;

// Compiling and drawing on a loaded 2-core machine.
constexpr int kThumbnailWaitMs = 300000;

BrowsedProduct Generated(const std::string& name, const std::string& type, double calibre, const std::string& colours) {
  BrowsedProduct p;
  p.Shelf = "generated";
  p.Name = name;
  p.Type = type;
  p.CalibreMm = calibre;
  p.Colours = colours;
  p.Maker = "Orvane";
  return p;
}

struct Browser {
  Browser() {
    source.List = [this] { return products; };
    source.Chain = [](const BrowsedProduct& p) {
      const Result<EffectDescription> d = ParseEffectDescription(p.Name);
      Result<EffectChain> chain = MakeEffect(
          d.Value(), [](int32_t) { return false; }, 1000);
      return chain.Value().Devices;
    };
    source.Add = [this](const BrowsedProduct& p) -> std::optional<std::string> {
      added.push_back(p.Name);
      if (p.Type == "mine") return std::string("The show has no room for mines.");
      return std::nullopt;
    };
    dock = std::make_unique<ProductBrowserDock>(source);
    dock->SetCliProgram(ORVANE_CLI);
    dock->SetCacheFolder(cache.Path() / "thumbnails");
    dock->resize(700, 500);
    dock->show();
  }
  std::vector<BrowsedProduct> products = {
      Generated("75mm red peony", "shell", 75, "red"),
      Generated("100mm red to green crossette", "shell", 100, "red to green"),
      Generated("50mm silver mine", "mine", 50, "silver"),
  };
  std::vector<std::string> added;
  ProductSource source;
  testing::ScratchDir cache;
  std::unique_ptr<ProductBrowserDock> dock;
};

void Choose(QComboBox* box, const QString& text) {
  const int index = box->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  box->setCurrentIndex(index);
  ProcessEvents();
}

TEST(ProductBrowserDock, FiltersAndAddsProducts) {
  Browser b;
  b.dock->SetCacheFolder(std::nullopt);  // no drawing here
  b.dock->Reload();
  EXPECT_EQ(b.dock->List->count(), 3);
  EXPECT_EQ(b.dock->Count->text(), "3 of 3 products");
  EXPECT_EQ(b.dock->TypeBox->count(), 3);  // all, mine, shell
  Choose(b.dock->TypeBox, "shell");
  EXPECT_EQ(b.dock->List->count(), 2);
  Choose(b.dock->ColourBox, "green");
  ASSERT_EQ(b.dock->List->count(), 1);
  EXPECT_EQ(b.dock->List->item(0)->text(), "100mm red to green crossette");
  Choose(b.dock->CalibreBox, "75 mm");
  EXPECT_EQ(b.dock->List->count(), 0);
  EXPECT_EQ(b.dock->Count->text(), "0 of 3 products");
  Choose(b.dock->CalibreBox, "All calibres");
  Choose(b.dock->ColourBox, "All colours");
  Choose(b.dock->TypeBox, "All types");
  ASSERT_EQ(b.dock->List->count(), 3);

  QSignalSpy added(b.dock.get(), &ProductBrowserDock::ProductAdded);
  QSignalSpy failed(b.dock.get(), &ProductBrowserDock::AddFailed);
  EXPECT_FALSE(b.dock->AddBt->isEnabled()) << "nothing chosen yet";
  b.dock->List->setCurrentRow(1);
  ASSERT_TRUE(b.dock->AddBt->isEnabled());
  QTest::mouseClick(b.dock->AddBt, Qt::LeftButton);
  ASSERT_EQ(added.count(), 1);
  EXPECT_EQ(added[0][0].toString(), "100mm red to green crossette");
  b.dock->List->setCurrentRow(2);
  QTest::mouseClick(b.dock->AddBt, Qt::LeftButton);
  ASSERT_EQ(failed.count(), 1);
  EXPECT_EQ(failed[0][0].toString(), "The show has no room for mines.");
  EXPECT_EQ(b.added, (std::vector<std::string>{"100mm red to green crossette", "50mm silver mine"}));
  // A reload keeps the filter the user chose.
  Choose(b.dock->TypeBox, "mine");
  b.dock->Reload();
  EXPECT_EQ(b.dock->TypeBox->currentText(), "mine");
  EXPECT_EQ(b.dock->List->count(), 1);
}

TEST(ProductBrowserDock, DrawsThumbnailsOnceAndKeepsThemInTheCache) {
  Browser b;
  b.products.resize(2);
  b.dock->Reload();
  EXPECT_TRUE(b.dock->DrawingThumbnails());
  EXPECT_FALSE(b.dock->HasThumbnail(0));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !b.dock->DrawingThumbnails(); }, kThumbnailWaitMs));
  ProcessEvents();
  ASSERT_TRUE(b.dock->HasThumbnail(0));
  ASSERT_TRUE(b.dock->HasThumbnail(1));
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(b.cache.Path() / "thumbnails")) files += entry.is_regular_file();
  EXPECT_EQ(files, 2u) << "one picture per product, no temporaries left";
  testing::SaveShot(b.dock->grab().toImage(), "product_browser");
  // Reopened, the dock takes them from the cache and draws nothing.
  b.dock->Reload();
  EXPECT_FALSE(b.dock->DrawingThumbnails());
  EXPECT_TRUE(b.dock->HasThumbnail(0));
}

}  // namespace
}  // namespace orvane
