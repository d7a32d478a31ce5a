#include "show/show_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "compiler/compiled_device_prep.h"
#include "model/presets.h"
#include "show/cue_list.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::ScriptedDialogs;

DeviceList PresetList(int k) {
  DeviceList list([](TBaseDevice& d) { return PrepareCompiledPart(d); });
  ScriptedDialogs dialogs;
  EXPECT_TRUE(ApplyPreset(k, list, dialogs));
  return list;
}

ShowDocument SmallShow() {
  ShowDocument show;
  show.Settings.Title = "Harbour test";
  show.Settings.MusicFile = "music.ogg";
  show.Settings.MusicOffsetSeconds = 1.5;
  show.Settings.Scale = 0.5f;
  show.Cues.push_back({0, 101, std::nullopt, std::nullopt, std::nullopt, "centre", 0});
  show.Cues.push_back({2000, 103, -4.0f, 0.0f, 1.0f, "left, low", 0});
  return show;
}

TEST(ShowSettings, ReadsKnownFieldsAndKeepsUnknownOnes) {
  ShowSettings s;
  ASSERT_FALSE(ReadShowSettings(R"({"format":"orvane-show","version":1,"title":"T","scale":2,
      "music":{"file":"a.ogg","offset":-0.25,"gain":3},"designer":{"name":"N"}})",
                                s));
  EXPECT_EQ(s.Title, "T");
  EXPECT_EQ(s.Scale, 2.0f);
  EXPECT_EQ(s.MusicFile, "a.ogg");
  EXPECT_EQ(s.MusicOffsetSeconds, -0.25);
  s.Title = "U";
  s.Scale.reset();
  const std::string text = ShowSettingsText(s);
  EXPECT_NE(text.find("\"designer\""), std::string::npos);
  EXPECT_NE(text.find("\"gain\""), std::string::npos);
  EXPECT_EQ(text.find("\"scale\""), std::string::npos);
  ShowSettings back;
  ASSERT_FALSE(ReadShowSettings(text, back));
  EXPECT_EQ(back, s);
}

TEST(ShowSettings, RefusesWhatItCannotRead) {
  ShowSettings s;
  EXPECT_EQ(ReadShowSettings("{", s), "show.json: not valid JSON.");
  EXPECT_EQ(ReadShowSettings("[]", s), "show.json: not a JSON object.");
  EXPECT_EQ(ReadShowSettings(R"({"version":1})", s), "show.json: \"format\" must be \"orvane-show\".");
  EXPECT_EQ(ReadShowSettings(R"({"format":"orvane-show","version":"1"})", s),
            "show.json: \"version\" must be a whole number from 1.");
  EXPECT_EQ(ReadShowSettings(R"({"format":"orvane-show","version":2})", s),
            "show.json: version 2 is newer than this program reads (1).");
  EXPECT_EQ(ReadShowSettings(R"({"format":"orvane-show","version":1,"scale":"big"})", s),
            "show.json: \"scale\" must be a number.");
  EXPECT_EQ(ReadShowSettings(R"({"format":"orvane-show","version":1,"scale":1e300})", s),
            "show.json: \"scale\" must be a number.");
  EXPECT_EQ(ReadShowSettings(R"({"format":"orvane-show","version":1,"music":{"file":3}})", s),
            "show.json: the music \"file\" must be a text.");
  EXPECT_EQ(ReadShowSettings(std::string(100000, '[') + std::string(100000, ']'), s), "show.json: nested too deeply.");
}

TEST(ShowFolder, SavedShowOpensAsSavedWithTheDevicesReplacingTheList) {
  ScratchDir dir;
  const fs::path folder = dir.Path() / "night";
  DeviceList source = PresetList(1);
  ScriptedDialogs dialogs;
  const ShowSaveReport saved = SaveShowFolder(folder, SmallShow(), source.Devices(), dialogs);
  ASSERT_TRUE(saved.Saved) << saved.Error.value_or("");
  EXPECT_TRUE(dialogs.Messages.empty());
  for (const char* name : {"101.odev", "102.osub", "103.osub", "104.osub", "cues.csv", "show.json"})
    EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
  for (const auto& entry : fs::directory_iterator(folder))
    EXPECT_NE(entry.path().filename().string().front(), '.') << "temporary left: " << entry.path();

  DeviceList target = PresetList(3);
  ShowDocument opened;
  const ShowOpenReport report = OpenShowFolder(folder, target, dialogs, opened);
  ASSERT_FALSE(report.Error) << *report.Error;
  EXPECT_TRUE(report.MusicMissing);
  EXPECT_EQ(report.Devices.Loaded, 4u);
  ASSERT_EQ(target.Devices().size(), 4u);
  EXPECT_EQ(target.Devices()[0]->Definition.Code, 101);
  EXPECT_EQ(opened.Settings, SmallShow().Settings);
  ASSERT_EQ(opened.Cues.size(), 2u);
  EXPECT_EQ(opened.Cues[1].Label, "left, low");
  EXPECT_EQ(opened.Cues[1].X, -4.0f);
  EXPECT_EQ(opened.Cues[1].Line, 3);
  EXPECT_EQ(ShowMusicPath(opened.Settings, folder), folder / "music.ogg");
}

TEST(ShowFolder, WithoutShowJsonTheTitleIsTheFolderName) {
  ScratchDir dir;
  const fs::path folder = dir.Path() / "Quay";
  DeviceList source = PresetList(1);
  ScriptedDialogs dialogs;
  ASSERT_TRUE(SaveShowFolder(folder, SmallShow(), source.Devices(), dialogs).Saved);
  fs::remove(folder / "show.json");
  ShowDocument opened;
  const ShowOpenReport report = OpenShowFolder(folder, source, dialogs, opened);
  ASSERT_FALSE(report.Error) << *report.Error;
  EXPECT_FALSE(report.MusicMissing);
  EXPECT_EQ(ShowTitle(opened.Settings, folder), "Quay");
  EXPECT_EQ(ShowTitle(opened.Settings, dir.Folder() + "Quay/"), "Quay");
  EXPECT_FALSE(ShowMusicPath(opened.Settings, folder));
}

TEST(ShowFolder, RefusedFilesLeaveTheListAloneUntilTheCodesAreChecked) {
  ScratchDir dir;
  DeviceList source = PresetList(1);
  ScriptedDialogs dialogs;
  ASSERT_TRUE(SaveShowFolder(dir.Path(), SmallShow(), source.Devices(), dialogs).Saved);
  DeviceList target = PresetList(3);
  ShowDocument opened;
  opened.Settings.Title = "untouched";

  dir.Write("cues.csv", "time,code\n1,101\nlater,101\n");
  ShowOpenReport report = OpenShowFolder(dir.Path(), target, dialogs, opened);
  EXPECT_EQ(report.Error, "cues.csv line 3: time \"later\" is not a time in seconds.");
  EXPECT_EQ(target.Devices().front()->Definition.Code, 301);
  EXPECT_EQ(opened.Settings.Title, "untouched");

  dir.Write("cues.csv", "time,code\n1,301\n");
  report = OpenShowFolder(dir.Path(), target, dialogs, opened);
  EXPECT_EQ(report.Error, "cues.csv line 2: no device has code 301.");
  EXPECT_EQ(target.Devices().front()->Definition.Code, 101);

  dir.Write("show.json", "{\"format\":\"other\"}");
  report = OpenShowFolder(dir.Path(), target, dialogs, opened);
  EXPECT_EQ(report.Error, "show.json: \"format\" must be \"orvane-show\".");

  fs::remove(dir.Path() / "show.json");
  fs::remove(dir.Path() / "cues.csv");
  report = OpenShowFolder(dir.Path(), target, dialogs, opened);
  EXPECT_EQ(report.Error, "The folder \"" + dir.Path().string() + "\" holds no cues.csv.");
  fs::create_directory(dir.Path() / "cues.csv");
  report = OpenShowFolder(dir.Path(), target, dialogs, opened);
  EXPECT_EQ(report.Error, "\"" + (dir.Path() / "cues.csv").string() + "\" is not a readable file.");
  EXPECT_EQ(opened.Settings.Title, "untouched");
}

TEST(ShowFolder, AsksBeforeReplacingFilesThatDiffer) {
  ScratchDir dir;
  DeviceList list = PresetList(1);
  ScriptedDialogs dialogs;
  ShowDocument show = SmallShow();
  ASSERT_TRUE(SaveShowFolder(dir.Path(), show, list.Devices(), dialogs).Saved);
  // The same show again: nothing differs, nothing is asked.
  ASSERT_TRUE(SaveShowFolder(dir.Path(), show, list.Devices(), dialogs).Saved);
  EXPECT_TRUE(dialogs.Messages.empty());

  const std::string before = ReadFileBytes(dir.Path() / "cues.csv");
  show.Cues.pop_back();
  dialogs.Answers.push_back(DialogAnswer::No);
  ShowSaveReport report = SaveShowFolder(dir.Path(), show, list.Devices(), dialogs);
  EXPECT_FALSE(report.Saved);
  EXPECT_FALSE(report.Error);
  EXPECT_EQ(dialogs.OnlyMessage().Text, kReplaceShowFilesQuestion);
  EXPECT_EQ(dialogs.OnlyMessage().Buttons, DialogButtons::YesNo);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "cues.csv"), before);

  dialogs.Answers.push_back(DialogAnswer::Yes);
  report = SaveShowFolder(dir.Path(), show, list.Devices(), dialogs);
  EXPECT_TRUE(report.Saved);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "cues.csv"), CueListText(show.Cues));
}

TEST(ShowFolder, SiteProductsAndPositionsSurviveASave) {
  ScratchDir dir;
  DeviceList list = PresetList(1);
  ScriptedDialogs dialogs;
  ShowDocument show = SmallShow();
  ASSERT_TRUE(SaveShowFolder(dir.Path(), show, list.Devices(), dialogs).Saved);
  // A show that never had products gains no products.csv, nor a site in show.json.
  EXPECT_FALSE(fs::exists(dir.Path() / "products.csv"));
  EXPECT_EQ(ReadFileBytes(dir.Path() / "show.json").find("site"), std::string::npos);

  show.Settings.Site.Positions.push_back({"C", 20, 0, std::nullopt});
  show.Cues.push_back({4000, 101, std::nullopt, std::nullopt, std::nullopt, "at C", 0, "C"});
  Product shell;
  shell.Code = 101;
  shell.Name = "75 mm gold peony";
  shell.Type = ProductType::kShell;
  shell.CalibreMm = 75;
  show.Products.Rows.push_back(shell);
  dialogs.Answers.push_back(DialogAnswer::Yes);
  ASSERT_TRUE(SaveShowFolder(dir.Path(), show, list.Devices(), dialogs).Saved);
  ShowDocument opened;
  const ShowOpenReport report = OpenShowFolder(dir.Path(), list, dialogs, opened);
  ASSERT_FALSE(report.Error) << *report.Error;
  EXPECT_EQ(opened.Settings, show.Settings);
  ASSERT_EQ(opened.Products.Rows.size(), 1u);
  EXPECT_EQ(opened.Products.Rows[0].Name, "75 mm gold peony");
  EXPECT_TRUE(opened.ProductsFile);
  ASSERT_EQ(opened.Cues.size(), 3u);
  EXPECT_EQ(opened.Cues[2].Position, "C");

  // Every product gone: the file is emptied, not left with the old rows.
  opened.Products.Rows.clear();
  dialogs.Answers.push_back(DialogAnswer::Yes);
  ASSERT_TRUE(SaveShowFolder(dir.Path(), opened, list.Devices(), dialogs).Saved);
  ShowDocument again;
  ASSERT_FALSE(OpenShowFolder(dir.Path(), list, dialogs, again).Error);
  EXPECT_TRUE(again.Products.Rows.empty());
}

TEST(ShowFolder, BadProductsOrPositionsRefuseTheWholeShow) {
  ScratchDir dir;
  DeviceList list = PresetList(1);
  ScriptedDialogs dialogs;
  ASSERT_TRUE(SaveShowFolder(dir.Path(), SmallShow(), list.Devices(), dialogs).Saved);
  DeviceList target = PresetList(3);
  ShowDocument opened;
  opened.Settings.Title = "untouched";

  dir.Write("products.csv", "code,name,price\n101,shell,cheap\n");
  ShowOpenReport report = OpenShowFolder(dir.Path(), target, dialogs, opened);
  EXPECT_EQ(report.Error,
            "products.csv line 2: price \"cheap\" is not a price from 0 (digits with \".\" for the decimals).");
  EXPECT_EQ(target.Devices().front()->Definition.Code, 301);  // refused before the devices load

  dir.Write("products.csv", "code,name\n101,shell\n999,ghost\n");
  report = OpenShowFolder(dir.Path(), target, dialogs, opened);
  EXPECT_EQ(report.Error, "products.csv line 3: code 999 names no device of the show.");

  fs::remove(dir.Path() / "products.csv");
  dir.Write("cues.csv", "time,code,position\n1,101,Z\n");
  report = OpenShowFolder(dir.Path(), target, dialogs, opened);
  EXPECT_EQ(report.Error, "cues.csv line 2: position \"Z\" is not a position of the site.");

  dir.Write("show.json", R"({"format":"orvane-show","version":1,"site":{"metres_per_unit":0}})");
  report = OpenShowFolder(dir.Path(), target, dialogs, opened);
  EXPECT_EQ(report.Error, "show.json: \"site.metres_per_unit\" must be a number above 0.");
  EXPECT_EQ(opened.Settings.Title, "untouched");
  EXPECT_TRUE(opened.Cues.empty());
}

TEST(StagedFiles, AFailedWriteReplacesNothing) {
  ScratchDir dir;
  dir.Write("a.txt", "old a");
  // A name that cannot be made: its folder does not exist.
  const auto error = WriteFilesTogether(dir.Path(), {{"a.txt", "new a"}, {"missing/b.txt", "b"}});
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("missing/b.txt"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "a.txt"), "old a");
  size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(dir.Path())) entries += entry.exists();
  EXPECT_EQ(entries, 1u);

  // A folder where a later file goes: refused before anything is replaced.
  fs::create_directory(dir.Path() / "b.txt");
  EXPECT_TRUE(WriteFilesTogether(dir.Path(), {{"a.txt", "new a"}, {"b.txt", "b"}}));
  EXPECT_EQ(ReadFileBytes(dir.Path() / "a.txt"), "old a");
}

}  // namespace
}  // namespace orvane
