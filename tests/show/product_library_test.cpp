// The shipped product library and copying a product's chain into a show.

#include "show/product_library.h"

#include <gtest/gtest.h>

#include "compiler/compiled_device_prep.h"
#include "model/presets.h"
#include "show/calibre_rule.h"
#include "show/show_measures.h"
#include "support/form_device.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

const PrepareStep kPrepare = [](TBaseDevice& d) { return PrepareCompiledPart(d); };

// Every product of every shipped shelf is described honestly: a product that breaks aloft
// breaks within a quarter of the calibre rule's height, at the default 20 m per unit.
TEST(ProductLibrary, ShippedShelvesHoldWhatTheirRowsSay) {
  const Result<std::vector<fs::path>> shelves = LibraryShelfFolders(ORVANE_LIBRARY_DIR);
  ASSERT_TRUE(shelves) << shelves.Message();
  ASSERT_FALSE(shelves.Value().empty());
  const ShowSite site;
  size_t checked = 0;
  for (const fs::path& folder : shelves.Value()) {
    Result<LibraryShelf> shelf = OpenLibraryShelf(folder, kPrepare);
    ASSERT_TRUE(shelf) << shelf.Message();
    const DeviceRecords& devices = shelf.Value().Devices;
    for (const Product& p : shelf.Value().Products.Rows) {
      const Result<DeviceMeasure> m = MeasureDevice(p.Code, devices, 1.0f);
      ASSERT_TRUE(m) << folder << " " << p.Code << ": " << m.Message();
      const ProductFigures f = FiguresInMetres(m.Value(), site);
      EXPECT_TRUE(f.Seen) << p.Name;
      EXPECT_FALSE(p.Name.empty()) << folder << " " << p.Code;
      // A prefire the row gives is the one a show measures, from the files as committed.
      if (p.PrefireMs) {
        EXPECT_EQ(*p.PrefireMs, f.PrefireMs) << p.Name;
      }
      if (!CalibreRuleApplies(p, f)) {
        // Only products that break where they fire, or never, go without the rule.
        EXPECT_TRUE(!f.Broke || f.BreakHeight < kAloftMetres || !p.CalibreMm) << p.Name;
        EXPECT_FALSE(f.Broke && f.BreakHeight >= kAloftMetres) << p.Name << " breaks aloft without a calibre";
        continue;
      }
      EXPECT_FALSE(OffCalibreRule(f.BreakHeight, *p.CalibreMm))
          << p.Name << ": breaks at " << f.BreakHeight << " m, the rule says " << *CalibreRuleHeight(*p.CalibreMm);
      ++checked;
    }
  }
  EXPECT_GE(checked, 3u);
}

TEST(ProductLibrary, ThePresetsShelfDescribesEveryPreset) {
  Result<LibraryShelf> shelf = OpenLibraryShelf(fs::path(ORVANE_LIBRARY_DIR) / kPresetsShelfName, kPrepare);
  ASSERT_TRUE(shelf) << shelf.Message();
  for (int k = 1; k <= kPresetCount; ++k) {
    const int32_t root = PresetDevices(k).front().Code;
    EXPECT_NE(FindProduct(shelf.Value().Products, root), nullptr) << "preset " << k;
    // The shelf's devices are the presets' own.
    for (const PresetDevice& d : PresetDevices(k)) EXPECT_TRUE(FindByCode(shelf.Value().Devices, d.Code)) << d.Code;
  }
  const Product* shell = FindProduct(shelf.Value().Products, 601);
  ASSERT_NE(shell, nullptr);
  EXPECT_EQ(shell->Type, ProductType::kShell);
}

TEST(ProductLibrary, BrokenShelvesAreRefused) {
  testing::ScratchDir dir;
  fs::create_directory(dir.Path() / "mine");
  dir.Write("mine/products.csv", "code,name\n101,ghost\n");
  dir.Write("loose.csv", "not a shelf");
  const Result<std::vector<fs::path>> shelves = LibraryShelfFolders(dir.Path());
  ASSERT_TRUE(shelves);
  ASSERT_EQ(shelves.Value().size(), 1u);
  const Result<LibraryShelf> shelf = OpenLibraryShelf(shelves.Value()[0], kPrepare);
  ASSERT_FALSE(shelf);
  EXPECT_EQ(shelf.Message(), "The library shelf \"mine\": products.csv line 2: code 101 names no device of the show.");
  EXPECT_FALSE(LibraryShelfFolders(dir.Path() / "missing"));
}

DeviceRecords Devices(std::initializer_list<int32_t> codes) {
  DeviceRecords list;
  for (int32_t code : codes) {
    auto d = std::make_unique<TBaseDevice>(testing::FormDevice(code));
    EXPECT_TRUE(PrepareCompiledPart(*d));
    list.push_back(std::move(d));
  }
  return list;
}

DeviceRecords ChainOf101() {
  DeviceRecords shelf = Devices({101, 102, 103, 999});
  shelf[0]->NextParExists = true;
  shelf[0]->NextParCode = 102;
  shelf[0]->NextEffExists = true;
  shelf[0]->NextEffCode = 103;
  shelf[1]->NextEffExists = true;
  shelf[1]->NextEffCode = 103;
  for (auto& d : shelf) EXPECT_TRUE(PrepareCompiledPart(*d));
  return shelf;
}

TEST(CopyChainInto, KeepsFreeCodesAndRenumbersAWholeChainOnAClash) {
  const DeviceRecords shelf = ChainOf101();
  const DeviceRecords empty;
  Result<ChainCopy> kept = CopyChainInto(shelf, 101, empty, kPrepare);
  ASSERT_TRUE(kept) << kept.Message();
  ASSERT_EQ(kept.Value().Devices.size(), 3u);  // 999 is not in the chain
  EXPECT_EQ(kept.Value().Root(), 101);

  const DeviceRecords show = Devices({5, 102, 250});
  Result<ChainCopy> moved = CopyChainInto(shelf, 101, show, kPrepare);
  ASSERT_TRUE(moved) << moved.Message();
  const ChainCopy& copy = moved.Value();
  EXPECT_EQ(copy.Codes, (std::map<int32_t, int32_t>{{101, 301}, {102, 302}, {103, 303}}));
  EXPECT_EQ(copy.Root(), 301);
  const TBaseDevice& root = *copy.Devices[0];
  EXPECT_EQ(root.NextParCode, 302);
  EXPECT_EQ(root.NextEffCode, 303);
  EXPECT_EQ(copy.Devices[1]->NextEffCode, 303);
  ASSERT_TRUE(root.Compiled);
  EXPECT_EQ(root.Compiled->Code, 301);
  EXPECT_EQ(root.Compiled->NextParCode, 302);
  // The shelf's devices are untouched.
  EXPECT_EQ(shelf[0]->Definition.Code, 101);
  EXPECT_EQ(shelf[0]->NextParCode, 102);
}

TEST(CopyChainInto, MissingLinksAndExhaustedCodesAreRefused) {
  DeviceRecords shelf = ChainOf101();
  shelf[1]->NextEffCode = 104;
  const DeviceRecords empty;
  const Result<ChainCopy> missing = CopyChainInto(shelf, 101, empty, kPrepare);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.Message(), "The chain of device 101 needs device 104, which the library does not hold.");
  EXPECT_FALSE(CopyChainInto(shelf, 7, empty, kPrepare));
  const DeviceRecords full = Devices({101, 2147483600});
  const Result<ChainCopy> none = CopyChainInto(ChainOf101(), 101, full, kPrepare);
  ASSERT_FALSE(none);
  EXPECT_EQ(none.Message(), "The show has no free device codes left above 2147483600.");
}

}  // namespace
}  // namespace orvane
