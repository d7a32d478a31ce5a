// The project's site, products, measurements and break times.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "compiler/compiled_device_prep.h"
#include "model/timeline_view.h"
#include "project/show_project.h"
#include "show/cue_list.h"
#include "show/product_library.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;
using testing::ScriptedDialogs;

struct Example {
  Example() {
    Folder = Dir.Path() / "harbour-night";
    fs::copy(ORVANE_EXAMPLE_SHOW, Folder, fs::copy_options::recursive);
    EXPECT_TRUE(Project.Open(Folder, Dialogs).Opened);
  }
  // The first cue of the device.
  size_t RowOf(int32_t code) const {
    for (size_t i = 0; i < Project.Cues().size(); ++i)
      if (Project.Cues()[i].Code == code) return i;
    ADD_FAILURE() << "no cue of " << code;
    return 0;
  }
  ScratchDir Dir;
  fs::path Folder;
  ScriptedDialogs Dialogs;
  ShowProject Project{PrepareCompiledPart};
};

TEST(ShowProjectProducts, TheExampleShowHasASiteProductsAndMeasuredBreaks) {
  Example e;
  EXPECT_EQ(e.Project.Site().Positions.size(), 6u);
  EXPECT_EQ(e.Project.Site().Ground, GroundKind::kWater);
  EXPECT_EQ(e.Project.Site().Audience.size(), 1u);
  // Every device a cue fires has a product row and a measurement.
  for (const Cue& cue : e.Project.Cues()) {
    EXPECT_NE(FindProduct(e.Project.Products(), cue.Code), nullptr) << cue.Code;
    EXPECT_EQ(e.Project.Measures().Figures.count(cue.Code), 1u) << cue.Code;
    EXPECT_FALSE(cue.Position.empty()) << cue.Label;
  }
  const ProductFigures& shell = e.Project.Measures().Figures.at(601);
  EXPECT_GT(shell.PrefireMs, 1000);
  EXPECT_GT(shell.BreakHeight, 40.0);
  const size_t row = e.RowOf(601);
  EXPECT_EQ(e.Project.CueBreakMs(row), e.Project.Cues()[row].TimeMs + shell.PrefireMs);
  // Most cues fire products of the library's generated shelf, copied under their own codes.
  size_t generated = 0;
  for (const Cue& cue : e.Project.Cues()) {
    const Product* product = FindProduct(e.Project.Products(), cue.Code);
    generated += product != nullptr && product->Maker == "Orvane" ? 1 : 0;
  }
  EXPECT_GE(generated * 2, e.Project.Cues().size());
  const DesignSummary summary = e.Project.Summary();
  EXPECT_EQ(summary.Cues, 36u);
  EXPECT_EQ(summary.PerPosition.size(), 6u);
}

TEST(ShowProjectProducts, MeasuresAgainOnlyWhatAnEditChanged) {
  Example e;
  ASSERT_FALSE(e.Project.Measures().Figures.empty());
  const size_t compiled = e.Project.MeasureCompiles();
  e.Project.SetTitle("Other title");
  ASSERT_TRUE(e.Project.SetCueColumn(0, CueColumn::Label, "renamed"));
  EXPECT_EQ(e.Project.Measures().Figures.size(), 21u);
  EXPECT_EQ(e.Project.MeasureCompiles(), compiled);
  // A device of one chain edited: that product alone is measured again.
  ASSERT_TRUE(e.Project.EditDevices("Edit", [&e](DeviceList& list) {
    for (size_t i = 0; i < list.Items().size(); ++i)
      if (list.Items()[i].Caption == "604") list.Select(i);
    list.Form().StarQuantity = "2";
    list.Assign(e.Dialogs);
  }));
  EXPECT_EQ(e.Project.Measures().Figures.size(), 21u);
  EXPECT_EQ(e.Project.MeasureCompiles(), compiled + 1);
}

TEST(ShowProjectProducts, TypingABreakMovesTheFireTimeAndUndoes) {
  Example e;
  const size_t row = e.RowOf(601);
  const Cue before = e.Project.Cues()[row];
  const int64_t prefire = e.Project.Measures().Figures.at(601).PrefireMs;
  ASSERT_TRUE(e.Project.SetCueColumn(row, CueColumn::Break, "0:30.00"));
  const auto moved = std::find_if(e.Project.Cues().begin(), e.Project.Cues().end(),
                                  [&](const Cue& c) { return c.Label == before.Label; });
  ASSERT_NE(moved, e.Project.Cues().end());
  EXPECT_EQ(moved->TimeMs, 30000 - prefire);
  EXPECT_EQ(e.Project.CueBreakMs(static_cast<size_t>(moved - e.Project.Cues().begin())), 30000);
  EXPECT_EQ(e.Project.History().UndoText(), "Set break");
  e.Project.Undo();
  EXPECT_EQ(e.Project.Cues()[row], before);

  const Result<> early = e.Project.SetCueColumn(row, CueColumn::Break, "1");
  ASSERT_FALSE(early);
  EXPECT_EQ(early.Message(), "Row " + std::to_string(row + 1) + ", cues.csv line " + std::to_string(row + 2) +
                                 ": a break at 1.000 s would fire the cue before the show starts (its prefire is " +
                                 CueTimeText(prefire) + " s).");
  EXPECT_EQ(e.Project.Cues()[row], before);
}

TEST(ShowProjectProducts, ADraggedBreakSnapsOntoTheBeat) {
  Example e;
  const size_t row = e.RowOf(601);
  const std::vector<double> beats = {20.0, 20.5, 21.0, 21.5};
  const int64_t snapped = std::llround(SnapToBeat(20.62, beats) * 1000);
  ASSERT_TRUE(e.Project.MoveCueBreak(row, snapped));
  size_t at = 0;
  while (at < e.Project.Cues().size() && e.Project.Cues()[at].Label != "shell, far left") ++at;
  ASSERT_LT(at, e.Project.Cues().size());
  EXPECT_EQ(e.Project.CueBreakMs(at), 20500);
}

TEST(ShowProjectProducts, ALibraryProductArrivesUnderFreeCodesAsOneEdit) {
  Example e;
  Result<LibraryShelf> shelf = OpenLibraryShelf(fs::path(ORVANE_LIBRARY_DIR) / kPresetsShelfName, PrepareCompiledPart);
  ASSERT_TRUE(shelf) << shelf.Message();
  const size_t devices = e.Project.Devices().Devices().size();
  const size_t rows = e.Project.Products().Rows.size();
  int32_t largest = 0;
  for (const auto& d : e.Project.Devices().Devices()) largest = std::max(largest, d->Definition.Code);
  const Result<int32_t> added = e.Project.AddLibraryProduct(shelf.Value(), 601);
  ASSERT_TRUE(added) << added.Message();
  // 601 is taken: the shell's chain of four comes in from the next hundred up.
  const int32_t code = (largest / 100 + 1) * 100 + 1;
  EXPECT_EQ(added.Value(), code);
  EXPECT_EQ(e.Project.Devices().Devices().size(), devices + 4);
  const Product* row = FindProduct(e.Project.Products(), code);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->Name, "Orange shell with pink stars");
  const std::shared_ptr<const TCompDevice> root = e.Project.Devices().FindByCode(code);
  ASSERT_TRUE(root);
  EXPECT_EQ(root->NextParCode, code + 1);
  // Measured like the original.
  EXPECT_EQ(e.Project.Measures().Figures.at(code).PrefireMs, e.Project.Measures().Figures.at(601).PrefireMs);
  EXPECT_EQ(e.Project.History().UndoText(), "Add product");
  const std::optional<size_t> selected = e.Project.Devices().Selection();
  ASSERT_TRUE(selected);
  EXPECT_EQ(e.Project.Devices().Items()[*selected].Caption, std::to_string(code)) << "Add cue fires the product";
  e.Project.Undo();
  EXPECT_EQ(e.Project.Devices().Devices().size(), devices);
  EXPECT_EQ(e.Project.Products().Rows.size(), rows);
  e.Project.Redo();
  EXPECT_NE(FindProduct(e.Project.Products(), code), nullptr);
  EXPECT_FALSE(e.Project.AddLibraryProduct(shelf.Value(), 602));  // a device without a row
}

TEST(ShowProjectProducts, ProductsAndTheSiteAreSavedAndUndone) {
  Example e;
  ProductTable products = e.Project.Products();
  products.Rows[0].Stock = 99;
  e.Project.EditProducts("Stock", products);
  ShowSite site = e.Project.Site();
  site.Positions[0].X = -55;
  e.Project.SetSite(site);
  ASSERT_EQ(e.Project.Save(e.Dialogs).End, WriteEnd::kWritten);
  ShowProject again{PrepareCompiledPart};
  ASSERT_TRUE(again.Open(e.Folder, e.Dialogs).Opened);
  EXPECT_EQ(again.Products().Rows[0].Stock, 99);
  EXPECT_EQ(again.Site().Positions[0].X, -55);
  e.Project.Undo();
  e.Project.Undo();
  EXPECT_EQ(e.Project.Site().Positions[0].X, -50);
  EXPECT_NE(e.Project.Products().Rows[0].Stock, 99);
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(ShowProjectAddresses, AssignedAddressesAreWrittenAsOneEditThatUndoes) {
  Example e;
  const std::vector<Cue> before = e.Project.Cues();
  FiringProfile profile;
  profile.PinsPerModule = 4;
  e.Project.SetScriptProfile(profile);
  const AddressPlan plan = e.Project.Addresses();
  ASSERT_FALSE(plan.Error) << *plan.Error;
  EXPECT_EQ(plan.AssignedCount, before.size());
  // The table edits a pin with the assigned module.
  const size_t row = 3;
  ASSERT_TRUE(e.Project.SetCueColumn(row, CueColumn::Pin, "4"));
  EXPECT_EQ(e.Project.Cues()[row].Module, plan.Addresses[row].Module);
  EXPECT_EQ(e.Project.Cues()[row].Pin, 4);
  e.Project.Undo();
  EXPECT_EQ(e.Project.Cues(), before);

  ASSERT_TRUE(e.Project.WriteAddresses());
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(e.Project.Cues()[i].Module, plan.Addresses[i].Module) << i;
    EXPECT_EQ(e.Project.Cues()[i].Pin, plan.Addresses[i].Pin) << i;
  }
  EXPECT_EQ(e.Project.Addresses().AssignedCount, 0u);
  EXPECT_FALSE(e.Project.WriteAddresses());
  // One undo takes every address back.
  e.Project.Undo();
  EXPECT_EQ(e.Project.Cues(), before);
  EXPECT_EQ(e.Project.Addresses().Addresses, plan.Addresses);
}

}  // namespace
}  // namespace orvane
