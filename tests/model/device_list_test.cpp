#include "model/device_list.h"

#include <gtest/gtest.h>

#include <functional>

#include "device_test_helpers.h"
#include "support/form_device.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"
#include "util/date_time.h"

namespace orvane {
namespace {

using testing::DeviceFileWith;
using testing::RealPrepare;
using testing::ScratchDir;
using testing::ScriptedDialogs;

void ExpectMessage(const ScriptedDialogs& dialogs, DialogKind kind, DialogButtons buttons, const std::string& text) {
  ASSERT_EQ(dialogs.Messages.size(), 1u) << (dialogs.Messages.empty() ? "" : dialogs.Messages.back().Text);
  EXPECT_EQ(dialogs.Messages[0].Kind, kind);
  EXPECT_EQ(dialogs.Messages[0].Buttons, buttons);
  EXPECT_EQ(dialogs.Messages[0].Text, text);
}

void ExpectInformationYes(const ScriptedDialogs& dialogs, const std::string& text) {
  ExpectMessage(dialogs, DialogKind::Information, DialogButtons::Yes, text);
}

class DeviceListTest : public ::testing::Test {
 protected:
  // Creates a device from the initial form with the given code and links.
  void CreateDevice(int code, int effect = -1, int star = -1) {
    DeviceForm& f = list.Form();
    f = DeviceForm{};
    f.DevCode = std::to_string(code);
    f.StarQuantity = "20";
    f.NextEff = effect >= 0;
    f.NextEffCode = effect >= 0 ? std::to_string(effect) : "";
    f.NextPar = star >= 0;
    f.NextParCode = star >= 0 ? std::to_string(star) : "";
    list.Create(dialogs);
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> c;
    for (const auto& item : list.Items()) c.push_back(item.Caption);
    return c;
  }

  ScriptedDialogs dialogs;
  DeviceList list{RealPrepare()};
};

TEST_F(DeviceListTest, ValidateFormRefusesInOrderWithFocus) {
  struct Case {
    std::function<void(DeviceForm&)> change;
    std::string text;
    FormFocus focus;
  };
  const std::vector<Case> cases = {
      {[](DeviceForm& f) { f.DevCode = "abc"; }, "Value entered in device code is not valid", FormFocus::DevCodeEdit},
      {[](DeviceForm& f) { f.DevCode = "-1"; }, "Value entered in device code is out of range", FormFocus::DevCodeEdit},
      {[](DeviceForm& f) {
         f.DevCode = "-1";
         f.StarQuantity = "x";
       },
       "Value entered in device code is out of range", FormFocus::DevCodeEdit},
      {[](DeviceForm& f) { f.StarQuantity = "1.5"; }, "Value entered in star quantity is not valid",
       FormFocus::StarQuanEdit},
      {[](DeviceForm& f) { f.StarQuantity = "0"; }, "Value entered in star quantity is out of range",
       FormFocus::StarQuanEdit},
      {[](DeviceForm& f) { f.StarQuantity = "65536"; }, "Value entered in star quantity is out of range",
       FormFocus::StarQuanEdit},
      {[](DeviceForm& f) { f.EffectLength = ""; }, "Value entered in effect length is not valid",
       FormFocus::EffectLengthEdit},
      {[](DeviceForm& f) { f.EffectLength = "-40"; }, "Value entered in effect length is out of range",
       FormFocus::EffectLengthEdit},
      {[](DeviceForm& f) {
         f.NextEff = true;
         f.NextEffCode = "";
       },
       "Value entered in device code is not valid", FormFocus::NextEffCodeEdit},
      {[](DeviceForm& f) {
         f.NextPar = true;
         f.NextParCode = "-3";
       },
       "Value entered in device code is out of range", FormFocus::NextParCodeEdit},
      {[](DeviceForm& f) { f.PosX = "1.000,5"; }, "Value entered in X position is not valid", FormFocus::PosXEdit},
      {[](DeviceForm& f) { f.PosY = "abc"; }, "Value entered in Y position is not valid", FormFocus::PosYEdit},
      {[](DeviceForm& f) { f.PosZ = "1e39"; }, "Value entered in Z position is not valid", FormFocus::PosZEdit},
  };
  for (const Case& c : cases) {
    DeviceForm form;
    c.change(form);
    ScriptedDialogs d;
    FormFocus focus = FormFocus::None;
    EXPECT_FALSE(ValidateForm(form, d, focus)) << c.text;
    ExpectInformationYes(d, c.text + ", please verify.");
    EXPECT_EQ(focus, c.focus) << c.text;
  }
  DeviceForm ok;
  ok.DevCode = "0";
  ok.StarQuantity = "65535";
  ok.NextEffCode = "garbage";  // not read while its box is off
  ok.PosX = "-,5";
  ok.PosY = "";
  FormFocus focus = FormFocus::None;
  EXPECT_TRUE(ValidateForm(ok, dialogs, focus));
  EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(DeviceListTest, CreateAppendsSelectsAndShows) {
  EXPECT_EQ(list.EnabledButtons().Save, false);
  list.Form().DevCode = "0";
  list.Form().SubDevice = true;
  list.Form().PosX = "1,25";
  list.EditSegments().push_back(NewColorSegment(0, 50, kMixColor, 0x0080FFFF, 0x0080FF80));
  list.Create(dialogs);
  EXPECT_TRUE(dialogs.Messages.empty());
  ASSERT_EQ(list.Items().size(), 1u);
  const DeviceListItem& item = list.Items()[0];
  EXPECT_EQ(item.Caption, "0");
  EXPECT_EQ(item.Image, 1);
  ASSERT_EQ(item.Record, list.Devices()[0].get());
  const TBaseDevice& d = *item.Record;
  EXPECT_EQ(d.Definition.Name, "0");
  EXPECT_TRUE(d.Definition.Active);
  EXPECT_EQ(d.Definition.EffectLength, 2000);
  EXPECT_EQ(d.StarQuantity, 500);
  EXPECT_EQ(d.StarKind, StarKind::Explosive);
  EXPECT_EQ(d.SpeedKind, SpeedKind::Homogeneous);
  EXPECT_EQ(d.NextEffStart, 0);
  EXPECT_EQ(d.BestX, 1.25f);
  EXPECT_EQ(d.ColorData.size(), 1u);
  EXPECT_NEAR(d.Definition.Credits.Date, CurrentDateTime(), 10.0 / 86400);
  ASSERT_NE(d.Compiled, nullptr);
  EXPECT_EQ(d.Compiled->Stars.size(), 500u);
  EXPECT_EQ(list.Selection(), 0u);
  EXPECT_EQ(list.Focus(), FormFocus::DevicesList);
  EXPECT_EQ(list.Form().PosX, "1.2");  // shown back with one decimal, half to even
  EXPECT_FALSE(list.RedFont());
  const ListButtons b = list.EnabledButtons();
  EXPECT_FALSE(b.Create);
  EXPECT_TRUE(b.Assign && b.Delete && b.Save);
  list.Deselect();
  EXPECT_TRUE(list.EnabledButtons().Create);
  EXPECT_FALSE(list.EnabledButtons().Assign);
}

TEST_F(DeviceListTest, CreateRefusesDuplicatesAndReportsFailedPreparation) {
  CreateDevice(7);
  dialogs.Clear();
  list.Deselect();
  list.Form().DevCode = "7";
  list.Create(dialogs);
  ExpectInformationYes(dialogs, "This device code already exists in the list, please verify.");
  EXPECT_EQ(list.Focus(), FormFocus::DevCodeEdit);
  EXPECT_EQ(list.Devices().size(), 1u);

  DeviceList failing([](TBaseDevice&) { return false; });
  ScriptedDialogs d;
  failing.Create(d);
  ExpectMessage(d, DialogKind::Error, DialogButtons::Ok, "The device could not be created.");
  EXPECT_TRUE(failing.Devices().empty());
  EXPECT_TRUE(failing.Items().empty());
  EXPECT_FALSE(failing.EnabledButtons().Save);
}

TEST_F(DeviceListTest, CreateWarnsAboutCycles) {
  CreateDevice(3, -1, 3);
  ExpectInformationYes(dialogs, "The created effect generates recursivity, please verify.");
  EXPECT_TRUE(list.RedFont());
  EXPECT_EQ(list.Items().size(), 1u);

  DeviceList other(RealPrepare());
  std::swap(list, other);
  dialogs.Clear();
  CreateDevice(2, -1, 1);
  CreateDevice(1, 2);
  ExpectInformationYes(dialogs, "The created effect generates recursivity, please verify.");
  EXPECT_EQ(list.Focus(), FormFocus::DevicesList);
  EXPECT_TRUE(list.RedFont());
}

TEST_F(DeviceListTest, ShowDeviceFillsTheForm) {
  CreateDevice(4, 9);
  list.Form().PosY = "-2";
  list.Form().DevCode = "5";
  list.Form().Progressive = true;
  list.Form().Explosive = false;
  list.Form().RandomSpeed = true;
  list.Form().HomogeneousSpeed = false;
  list.Form().Trail = true;
  list.Form().TrailLength = 30;
  list.Form().NextEff = false;
  list.Form().NextPar = true;
  list.Form().NextParCode = "4";
  list.Form().NextParPos = 20;
  list.EditSegments() = {NewColorSegment(0, 100, kBlink, 1, 2), NewColorSegment(10, 20, 0, 3, 3)};
  list.Deselect();
  list.Create(dialogs);
  dialogs.Clear();

  list.Select(0);
  DeviceForm expected;
  expected.DevCode = "4";
  expected.StarQuantity = "20";
  expected.NextEff = true;
  expected.NextEffCode = "9";
  expected.PosX = expected.PosY = expected.PosZ = "0.0";
  EXPECT_EQ(list.Form(), expected);
  EXPECT_TRUE(list.EditSegments().empty());

  list.Select(1);
  EXPECT_EQ(list.Form().DevCode, "5");
  EXPECT_TRUE(list.Form().Progressive);
  EXPECT_TRUE(list.Form().RandomSpeed);
  EXPECT_FALSE(list.Form().HomogeneousSpeed);
  EXPECT_EQ(list.Form().TrailLength, 30);
  EXPECT_FALSE(list.Form().NextEff);
  EXPECT_EQ(list.Form().NextEffCode, "");
  EXPECT_EQ(list.Form().NextEffPos, 100);
  EXPECT_EQ(list.Form().NextParCode, "4");
  EXPECT_EQ(list.Form().NextParPos, 20);
  EXPECT_EQ(list.Form().PosY, "-2.0");
  EXPECT_EQ(list.EditSegments(), list.Devices()[1]->ColorData);
  EXPECT_TRUE(dialogs.Messages.empty());
  EXPECT_EQ(FormatPosition(2.25f, ','), "2,2");
  EXPECT_EQ(FormatPosition(-0.05f, '.'), "-0.1");
}

TEST_F(DeviceListTest, AssignReplacesTheSelectedDevice) {
  CreateDevice(1);
  CreateDevice(2);
  list.Select(0);
  TBaseDevice* old = list.Items()[0].Record;
  const double date = old->Definition.Credits.Date;
  list.Form().StarQuantity = "40";
  list.Form().EffectLength = "1200";
  list.Form().DevCode = "11";
  list.Form().SubDevice = true;
  dialogs.Clear();
  list.Assign(dialogs);
  EXPECT_TRUE(dialogs.Messages.empty());
  ASSERT_EQ(list.Devices().size(), 2u);
  EXPECT_EQ(list.Devices()[0]->Definition.Code, 2);  // the new record goes to the end
  const TBaseDevice& fresh = *list.Devices()[1];
  EXPECT_EQ(list.Items()[0].Record, &fresh);
  EXPECT_EQ(list.Items()[0].Caption, "11");
  EXPECT_EQ(list.Items()[0].Image, 1);
  EXPECT_EQ(fresh.StarQuantity, 40);
  EXPECT_EQ(fresh.Definition.EffectLength, 1200);
  EXPECT_EQ(fresh.Definition.Name, "1");  // carried from the old definition
  EXPECT_EQ(fresh.Definition.Credits.Date, date);
  EXPECT_TRUE(fresh.Definition.Kind);
  EXPECT_EQ(list.FindByCode(11), fresh.Compiled);
  EXPECT_EQ(list.FindByCode(1), nullptr);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"11", "2"}));
}

TEST_F(DeviceListTest, AssignRefusals) {
  list.Assign(dialogs);
  ExpectInformationYes(dialogs, "Select from the list the device you wish to modify.");

  CreateDevice(1);
  CreateDevice(2);
  list.Select(0);
  dialogs.Clear();
  list.Form().DevCode = "2";
  list.Assign(dialogs);
  ExpectInformationYes(dialogs, "This device code already exists in the list, please verify.");
  EXPECT_EQ(list.Focus(), FormFocus::DevCodeEdit);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"1", "2"}));

  dialogs.Clear();
  list.Form().DevCode = "1";
  list.Form().EffectLength = "0";
  list.Assign(dialogs);
  ExpectInformationYes(dialogs, "Value entered in effect length is out of range, please verify.");
}

TEST_F(DeviceListTest, AssignThatCannotPrepareKeepsTheOldDevice) {
  bool allow = true;
  DeviceList guarded([&](TBaseDevice& d) { return allow && PrepareCompiledPart(d); });
  guarded.Form().DevCode = "8";
  guarded.Create(dialogs);
  TBaseDevice* old = guarded.Items()[0].Record;
  allow = false;
  guarded.Form().StarQuantity = "9";
  dialogs.Clear();
  guarded.Assign(dialogs);
  ExpectMessage(dialogs, DialogKind::Error, DialogButtons::Ok, "The device could not be created.");
  EXPECT_EQ(guarded.Items()[0].Record, old);
  EXPECT_EQ(guarded.Devices().size(), 1u);
  EXPECT_EQ(old->StarQuantity, 500);
}

TEST_F(DeviceListTest, AssignWarnsAboutCycles) {
  CreateDevice(1, 2);
  CreateDevice(2);
  list.Select(1);
  list.Form().NextPar = true;
  list.Form().NextParCode = "1";
  dialogs.Clear();
  list.Assign(dialogs);
  ExpectInformationYes(dialogs, "The selected effect generates recursivity, please verify.");
  EXPECT_TRUE(list.RedFont());
}

TEST_F(DeviceListTest, DeleteAsksAndMovesTheSelection) {
  list.Delete(dialogs);
  ExpectMessage(dialogs, DialogKind::Information, DialogButtons::Ok,
                "Select from the list the device you wish to delete.");
  for (int code : {1, 2, 3, 4}) CreateDevice(code);
  list.Select(1);
  dialogs.Clear();
  dialogs.Answers = {DialogAnswer::No};
  list.Delete(dialogs);
  ExpectMessage(dialogs, DialogKind::Confirmation, DialogButtons::YesNo,
                "Are you sure you wish to delete the device code 2?");
  EXPECT_EQ(list.Items().size(), 4u);

  dialogs.Answers = {DialogAnswer::Yes};
  list.Delete(dialogs);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"1", "3", "4"}));
  EXPECT_EQ(list.Selection(), 1u);  // the next item
  EXPECT_EQ(list.Form().DevCode, "3");
  EXPECT_EQ(list.Devices().size(), 3u);

  list.Select(2);
  dialogs.Answers = {DialogAnswer::Yes};
  list.Delete(dialogs);
  EXPECT_EQ(list.Selection(), 1u);  // the new last item
  list.Select(0);
  dialogs.Answers = {DialogAnswer::Yes, DialogAnswer::Yes};
  list.Delete(dialogs);
  list.Delete(dialogs);
  EXPECT_TRUE(list.Items().empty());
  EXPECT_FALSE(list.Selection());
  EXPECT_FALSE(list.EnabledButtons().Save);
  EXPECT_TRUE(list.EnabledButtons().Create);
}

TEST_F(DeviceListTest, DeletingACycleMemberClearsTheRedFont) {
  CreateDevice(1, -1, 1);
  EXPECT_TRUE(list.RedFont());
  CreateDevice(2);
  list.Select(0);
  dialogs.Clear();
  dialogs.Answers = {DialogAnswer::Yes};
  list.Delete(dialogs);
  EXPECT_FALSE(list.RedFont());
  EXPECT_EQ(dialogs.Messages.size(), 1u);
}

TEST_F(DeviceListTest, DeleteAllAsksFirst) {
  list.DeleteAll(dialogs);
  EXPECT_TRUE(dialogs.Messages.empty());
  CreateDevice(1);
  CreateDevice(2);
  dialogs.Answers = {DialogAnswer::No};
  list.DeleteAll(dialogs);
  ExpectMessage(dialogs, DialogKind::Confirmation, DialogButtons::YesNo,
                "Are you sure you want to delete the entire device list?");
  EXPECT_EQ(list.Items().size(), 2u);
  list.EditSegments().push_back(NewColorSegment(0, 100, 0, 1, 1));
  dialogs.Answers = {DialogAnswer::Yes};
  list.DeleteAll(dialogs);
  EXPECT_TRUE(list.Items().empty());
  EXPECT_TRUE(list.Devices().empty());
  EXPECT_TRUE(list.EditSegments().empty());
  EXPECT_FALSE(list.EnabledButtons().Save);
}

TEST_F(DeviceListTest, FreeDeviceLeavesTheItem) {
  CreateDevice(1);
  std::shared_ptr<const TCompDevice> part = list.FindByCode(1);
  const CompiledParts snapshot = list.CompiledSnapshot();
  list.FreeDevice(0);
  EXPECT_TRUE(list.Devices().empty());
  ASSERT_EQ(list.Items().size(), 1u);
  EXPECT_EQ(list.Items()[0].Record, nullptr);
  EXPECT_EQ(list.FindByCode(1), nullptr);
  // A compile that took the snapshot keeps its parts.
  EXPECT_EQ(FindByCode(snapshot, 1), part);
  EXPECT_EQ(part->Code, 1);
}

TEST_F(DeviceListTest, LoadFolderReplacesTheList) {
  ScratchDir dir;
  dir.Write("1.odev", DeviceFileWith(1, "[Simulation]\nNextEffExists=1\nNextEffCode=2\n"));
  dir.Write("2.osub", DeviceFileWith(2, "[Simulation]\nNextParExists=1\nNextParCode=1\n", true));
  CreateDevice(50);
  dialogs.Clear();
  dialogs.Folders = {dir.Path().string()};
  list.SetDeviceFolder("/start");
  const auto report = list.LoadChosenFolder(dialogs);
  ASSERT_TRUE(report);
  EXPECT_EQ(dialogs.Inputs.at(0).Title, "Select Device data folder");
  EXPECT_EQ(dialogs.Inputs.at(0).Initial, "/start/");
  EXPECT_EQ(list.DeviceFolder(), dir.Folder());
  ExpectInformationYes(dialogs, "One of the loaded effects generates recursivity, please verify.");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(list.Items()[1].Image, 1);
  EXPECT_EQ(list.Selection(), 0u);
  EXPECT_EQ(list.Form().DevCode, "1");
  EXPECT_TRUE(list.RedFont());
  EXPECT_TRUE(list.EnabledButtons().Save);

  dialogs.Clear();
  dialogs.Folders = {std::nullopt};
  EXPECT_FALSE(list.LoadChosenFolder(dialogs));
  EXPECT_EQ(list.Items().size(), 2u);

  ScratchDir empty;
  empty.Write("3.txt", DeviceFileWith(3));
  list.LoadFolder(empty.Path(), dialogs);
  EXPECT_TRUE(list.Items().empty());
  EXPECT_FALSE(list.EnabledButtons().Save);
  EXPECT_FALSE(list.RedFont());
}

TEST_F(DeviceListTest, RefusedDecimalShowsTheErrorAndKeepsEarlierDevices) {
  ScratchDir dir;
  dir.Write("1.odev", DeviceFileWith(1));
  dir.Write("2.odev", DeviceFileWith(2, "[Additional]\nPrice2=1.000,5\n"));
  dir.Write("3.odev", DeviceFileWith(3));
  const FolderLoadReport report = list.LoadFolder(dir.Path(), dialogs);
  ExpectMessage(dialogs, DialogKind::Error, DialogButtons::Ok, "'1.000.5' is not a valid floating point value");
  EXPECT_EQ(report.Error, "'1.000.5' is not a valid floating point value");
  EXPECT_EQ(Captions(), std::vector<std::string>{"1"});
  EXPECT_EQ(list.Items()[0].Record, list.Devices()[0].get());
}

// A compile of the list's devices is current while the revision stays: every change of the
// records moves it, looking at them does not.
TEST_F(DeviceListTest, RevisionMovesWithEveryChangeOfTheRecordsOnly) {
  uint64_t seen = list.Revision();
  const auto moved = [&] {
    const bool changed = list.Revision() != seen;
    seen = list.Revision();
    return changed;
  };
  CreateDevice(5);
  EXPECT_TRUE(moved()) << "Create";
  CreateDevice(6);
  EXPECT_TRUE(moved());
  list.Select(0);
  list.Deselect();
  list.Select(0);
  list.Form().StarQuantity = "30";
  EXPECT_FALSE(moved()) << "selecting and typing";
  list.Assign(dialogs);
  EXPECT_TRUE(moved()) << "Assign";
  CreateDevice(5);  // refused: the code is taken
  EXPECT_FALSE(moved());
  dialogs.Answers.push_back(DialogAnswer::Yes);
  list.Delete(dialogs);
  EXPECT_TRUE(moved()) << "Delete";
  ScratchDir dir;
  list.LoadDroppedFiles({dir.Write("12.odev", DeviceFileWith(12))}, dialogs);
  EXPECT_TRUE(moved()) << "dropped files";
  list.LoadFolder(dir.Path(), dialogs);
  EXPECT_TRUE(moved()) << "Load";
  EXPECT_EQ(list.Devices().size(), 1u);
  dialogs.Answers.push_back(DialogAnswer::Yes);
  list.DeleteAll(dialogs);
  EXPECT_TRUE(moved()) << "Delete all";
  EXPECT_TRUE(list.Devices().empty());
}

TEST_F(DeviceListTest, DroppedFilesAddToTheList) {
  ScratchDir dir;
  CreateDevice(5);
  dialogs.Clear();
  const auto a = dir.Write("12.txt", DeviceFileWith(12));
  const auto b = dir.Write("5.osub", DeviceFileWith(5, "[Simulation]\nStarQuantity=3\n", true));
  const auto c = dir.Write("notes.txt", "hello");
  const FolderLoadReport report = list.LoadDroppedFiles({a, b, c}, dialogs);
  EXPECT_TRUE(dialogs.Messages.empty());
  EXPECT_EQ(report.Loaded, 2u);
  ASSERT_EQ(report.Skipped.size(), 1u);
  EXPECT_EQ(report.Skipped[0].Path, c);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"5", "12", "5"}));
  // Lookups by code find the first device of that code.
  EXPECT_EQ(list.FindByCode(5)->StarQuantity, 20);
}

TEST_F(DeviceListTest, SaveAsksForTheFolderAndBeforeReplacing) {
  ScratchDir dir;
  EXPECT_FALSE(list.SaveChosenFolder(dialogs));  // nothing to save
  CreateDevice(1);
  CreateDevice(2);
  dialogs.Folders = {dir.Path().string()};
  const auto first = list.SaveChosenFolder(dialogs);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Written, 2u);
  EXPECT_TRUE(dialogs.Messages.empty());
  EXPECT_EQ(list.DeviceFolder(), dir.Folder());

  dialogs.Folders = {dir.Path().string()};
  dialogs.Answers = {DialogAnswer::No};
  EXPECT_FALSE(list.SaveChosenFolder(dialogs));
  ExpectMessage(dialogs, DialogKind::Confirmation, DialogButtons::YesNo,
                "Some of these device files already exist in the folder, do you wish to replace them?");
  dialogs.Clear();
  dialogs.Folders = {std::nullopt};
  EXPECT_FALSE(list.SaveChosenFolder(dialogs));
  EXPECT_TRUE(dialogs.Messages.empty());
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST_F(DeviceListTest, AddedDevicesJoinTheListPreparedAndSelected) {
  CreateDevice(1);
  TBaseDevice lift = testing::FormDevice(10);
  lift.NextParExists = true;
  lift.NextParCode = 11;
  lift.NextParStart = 100;
  TBaseDevice burst = testing::FormDevice(11);
  burst.Definition.Kind = true;
  const uint64_t revision = list.Revision();
  dialogs.Messages.clear();
  ASSERT_TRUE(list.AddDevices({lift, burst}, dialogs));
  EXPECT_TRUE(dialogs.Messages.empty());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"1", "10", "11"}));
  EXPECT_EQ(list.Items()[2].Image, 1);
  EXPECT_EQ(list.Selection(), std::optional<size_t>(1));
  EXPECT_GT(list.Revision(), revision);
  ASSERT_NE(list.FindByCode(11), nullptr) << "added devices are prepared for compiles";

  // A chain that closes on itself is added, and the list turns red as after Create.
  TBaseDevice loop = testing::FormDevice(20);
  loop.NextEffExists = true;
  loop.NextEffCode = 20;
  ASSERT_TRUE(list.AddDevices({loop}, dialogs));
  EXPECT_TRUE(list.RedFont());
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0].Text, "The created effect generates recursivity, please verify.");
}

TEST_F(DeviceListTest, AChainWithADeviceThatCannotBePreparedAddsNothing) {
  DeviceList failing([](TBaseDevice& d) { return d.Definition.Code != 12; });
  ASSERT_FALSE(failing.AddDevices({testing::FormDevice(11), testing::FormDevice(12)}, dialogs));
  EXPECT_TRUE(failing.Devices().empty());
  EXPECT_TRUE(failing.Items().empty());
  ExpectMessage(dialogs, DialogKind::Error, DialogButtons::Ok, "The device could not be created.");
}

}  // namespace
}  // namespace orvane
