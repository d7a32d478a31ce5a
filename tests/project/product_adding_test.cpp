// Products joining a show as one undoable edit under codes the show does not use.

#include "project/product_adding.h"

#include <gtest/gtest.h>

#include "compiler/compiled_device_prep.h"
#include "support/form_device.h"
#include "support/scripted_dialogs.h"

namespace orvane {
namespace {

using testing::ScriptedDialogs;

std::vector<std::string> Captions(const ShowProject& project) {
  std::vector<std::string> out;
  for (const DeviceListItem& item : project.Devices().Items()) out.push_back(item.Caption);
  return out;
}

struct Fixture {
  Fixture() {
    project.New();
    // The show already uses 1000 and 1001.
    TBaseDevice a = testing::FormDevice(1000), b = testing::FormDevice(1001);
    project.EditDevices("existing", [&](DeviceList& list) { list.AddDevices({a, b}, dialogs); });
  }
  ScriptedDialogs dialogs;
  ShowProject project{PrepareCompiledPart};
};

TEST(ProductAdding, ADescriptionBecomesDevicesUnderFreeCodesInOneUndoableEdit) {
  Fixture f;
  const size_t edits = f.project.History().Index();
  const Result<int32_t> root = AddEffectFromDescription(f.project, "100mm Gold Willow", f.dialogs);
  ASSERT_TRUE(root.Ok()) << root.Message();
  EXPECT_EQ(root.Value(), 1002);
  EXPECT_EQ(Captions(f.project), (std::vector<std::string>{"1000", "1001", "1002", "1003"}));
  const TBaseDevice& lift = *f.project.Devices().Devices()[2];
  EXPECT_EQ(lift.NextParCode, 1003);
  EXPECT_EQ(lift.Definition.Name, "100mm gold willow: lift");
  ASSERT_EQ(f.project.History().Index(), edits + 1);
  EXPECT_EQ(f.project.History().UndoText(), "Add product");
  // Its products.csv row comes in the same edit, measured.
  const Product* row = FindProduct(f.project.Products(), 1002);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->Name, "100mm gold willow");
  EXPECT_EQ(row->Type, ProductType::kShell);
  EXPECT_EQ(row->CalibreMm, 100.0);
  ASSERT_TRUE(row->PrefireMs);
  EXPECT_EQ(*row->PrefireMs, f.project.Measures().Figures.at(1002).PrefireMs);
  f.project.Undo();
  EXPECT_EQ(Captions(f.project), (std::vector<std::string>{"1000", "1001"}));
  EXPECT_EQ(FindProduct(f.project.Products(), 1002), nullptr);
  f.project.Redo();
  EXPECT_EQ(Captions(f.project).size(), 4u);
  EXPECT_NE(FindProduct(f.project.Products(), 1002), nullptr);
}

TEST(ProductAdding, ALibraryChainIsRenumberedAroundTheShowsCodes) {
  Fixture f;
  TBaseDevice lift = testing::FormDevice(1000);
  lift.NextParExists = true;
  lift.NextParCode = 1001;
  lift.NextParStart = 100;
  TBaseDevice burst = testing::FormDevice(1001);
  burst.Definition.Kind = true;
  const Result<int32_t> root = AddProductChain(f.project, "75mm red peony", {lift, burst}, f.dialogs);
  ASSERT_TRUE(root.Ok()) << root.Message();
  EXPECT_EQ(root.Value(), 1002);
  EXPECT_EQ(f.project.Devices().Devices()[2]->NextParCode, 1003);
  EXPECT_EQ(f.project.Devices().Devices()[0]->Definition.Code, 1000) << "the show's own devices keep their codes";
}

TEST(ProductAdding, ARefusalAddsNothingAndKeepsTheHistory) {
  Fixture f;
  const size_t edits = f.project.History().Index();
  const Result<int32_t> refused = AddEffectFromDescription(f.project, "100mm sparkly willow", f.dialogs);
  ASSERT_FALSE(refused.Ok());
  EXPECT_NE(refused.Message().find("\"sparkly\""), std::string::npos) << refused.Message();
  EXPECT_FALSE(AddProductChain(f.project, "nothing", {}, f.dialogs).Ok());
  EXPECT_EQ(Captions(f.project).size(), 2u);
  EXPECT_EQ(f.project.History().Index(), edits);
}

TEST(ProductAdding, TheDescriptionBoxAsksAgainWithWhatWasTypedUntilItReads) {
  Fixture f;
  f.dialogs.Clear();
  f.dialogs.Texts = {std::string("100mm sparkly willow"), std::string("100mm gold willow")};
  const std::optional<int32_t> root = AskForNewEffect(f.project, f.dialogs);
  ASSERT_EQ(root, std::optional<int32_t>(1002));
  ASSERT_EQ(f.dialogs.Inputs.size(), 2u);
  EXPECT_EQ(f.dialogs.Inputs[0].Title, "New effect from description");
  EXPECT_EQ(f.dialogs.Inputs[0].Initial, "");
  EXPECT_EQ(f.dialogs.Inputs[1].Initial, "100mm sparkly willow") << "the user corrects what they typed";
  ASSERT_EQ(f.dialogs.Messages.size(), 1u);
  EXPECT_EQ(f.dialogs.Messages[0].Kind, DialogKind::Warning);
  EXPECT_NE(f.dialogs.Messages[0].Text.find("\"sparkly\" does not fit"), std::string::npos);

  f.dialogs.Texts = {std::nullopt};
  EXPECT_EQ(AskForNewEffect(f.project, f.dialogs), std::nullopt);
  EXPECT_EQ(Captions(f.project).size(), 4u);
}

}  // namespace
}  // namespace orvane
