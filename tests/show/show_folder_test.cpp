#include "show/show_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "compiler/compiled_device_prep.h"
#include "model/presets.h"
#include "show/cue_list.h"
#include "support/failure_text.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::FailureText;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::ScriptedDialogs;

// The settings the text gives; a refusal fails the test.
ShowSettings SettingsOf(std::string_view text) {
  Result<ShowSettings> read = ReadShowSettings(text);
  if (!read) {
    ADD_FAILURE() << read.Message();
    return {};
  }
  return std::move(read.Value());
}

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
  ShowSettings s = SettingsOf(R"({"format":"orvane-show","version":1,"title":"T","scale":2,
      "music":{"file":"a.ogg","offset":-0.25,"gain":3},"designer":{"name":"N"}})");
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
  EXPECT_EQ(SettingsOf(text), s);
}

TEST(ShowSettings, RefusesWhatItCannotRead) {
  EXPECT_EQ(FailureText(ReadShowSettings("{")), "show.json: not valid JSON.");
  EXPECT_EQ(FailureText(ReadShowSettings("[]")), "show.json: not a JSON object.");
  EXPECT_EQ(FailureText(ReadShowSettings(R"({"version":1})")), "show.json: \"format\" must be \"orvane-show\".");
  EXPECT_EQ(FailureText(ReadShowSettings(R"({"format":"orvane-show","version":"1"})")),
            "show.json: \"version\" must be a whole number from 1.");
  EXPECT_EQ(FailureText(ReadShowSettings(R"({"format":"orvane-show","version":2})")),
            "show.json: version 2 is newer than this program reads (1).");
  EXPECT_EQ(FailureText(ReadShowSettings(R"({"format":"orvane-show","version":1,"scale":"big"})")),
            "show.json: \"scale\" must be a number.");
  EXPECT_EQ(FailureText(ReadShowSettings(R"({"format":"orvane-show","version":1,"scale":1e300})")),
            "show.json: \"scale\" must be a number.");
  EXPECT_EQ(FailureText(ReadShowSettings(R"({"format":"orvane-show","version":1,"music":{"file":3}})")),
            "show.json: the music \"file\" must be a text.");
  EXPECT_EQ(FailureText(ReadShowSettings(std::string(100000, '[') + std::string(100000, ']'))),
            "show.json: nested too deeply.");
}

TEST(ShowSettings, SeedBeatsAndVideoSizeReadBackAndBadKeptResultsAreDropped) {
  ShowSettings s;
  s.Seed = 4294967295u;
  s.MusicFile = "m.ogg";
  s.Beats = ShowBeats{"m.ogg", 120, {0.5, 1.0, 1.5}};
  s.VideoWidth = 1280;
  s.VideoHeight = 720;
  ShowSettings back = SettingsOf(ShowSettingsText(s));
  EXPECT_EQ(back.Seed, s.Seed);
  EXPECT_EQ(back.Beats, s.Beats);
  EXPECT_EQ(back.VideoWidth, 1280);
  EXPECT_EQ(back.VideoHeight, 720);
  // Beats and the export's size are kept results: the settings stay equal without them.
  back.Beats.reset();
  back.VideoWidth = 0;
  EXPECT_EQ(back, s);

  const std::string head = R"({"format":"orvane-show","version":1,)";
  // A bad kept result is dropped, not refused: the show opens and finds it again.
  for (const char* field : {R"("beats":{"music":"m.ogg","tempo":120,"seconds":[1.0,0.5]})",
                            R"("beats":{"music":"m.ogg","tempo":-1,"seconds":[]})",
                            R"("beats":{"music":"m.ogg","tempo":120,"seconds":["x"]})", R"("beats":[])",
                            R"("video":{"width":1281,"height":720})", R"("video":{"width":0,"height":720})",
                            R"("video":{"width":99999,"height":720})"}) {
    SCOPED_TRACE(field);
    const ShowSettings read = SettingsOf(head + field + "}");
    EXPECT_FALSE(read.Beats) << field;
    EXPECT_EQ(read.VideoWidth, 0) << field;
  }
  // A bad seed is refused: compiling another show than the one saved would go unnoticed.
  for (const char* seed : {"-1", "4294967296", "1.5", "\"7\""}) {
    EXPECT_EQ(FailureText(ReadShowSettings(head + "\"seed\":" + seed + "}")),
              "show.json: \"seed\" must be a whole number from 0 to 4294967295.")
        << seed;
  }
}

TEST(ShowFolder, SavedShowOpensAsSavedWithTheDevicesReplacingTheList) {
  ScratchDir dir;
  const fs::path folder = dir.Path() / "night";
  DeviceList source = PresetList(1);
  const ShowSaveReport saved = SaveShowFolder(folder, SmallShow(), source.Devices(), ExistingShowFiles::kKeep);
  ASSERT_TRUE(saved.Saved) << saved.Error.value_or("");
  for (const char* name : {"101.odev", "102.osub", "103.osub", "104.osub", "cues.csv", "show.json"})
    EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
  for (const auto& entry : fs::directory_iterator(folder))
    EXPECT_NE(entry.path().filename().string().front(), '.') << "temporary left: " << entry.path();

  DeviceList target = PresetList(3);
  ShowDocument opened;
  const ShowOpenReport report = OpenShowFolder(folder, target, opened);
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

// The device load's information box waits in the report for the caller to show; its error
// box is replaced by the report's error (see below).
TEST(ShowFolder, WhatTheDeviceLoadSaysIsKeptForTheCaller) {
  ScratchDir dir;
  DeviceList source = PresetList(1);
  TBaseDevice& last = *source.Devices().back();
  last.NextEffExists = true;  // back to the first device: a cycle
  last.NextEffCode = source.Devices().front()->Definition.Code;
  ASSERT_TRUE(SaveShowFolder(dir.Path(), SmallShow(), source.Devices(), ExistingShowFiles::kKeep).Saved);
  DeviceList target = PresetList(3);
  ShowDocument opened;
  const ShowOpenReport report = OpenShowFolder(dir.Path(), target, opened);
  ASSERT_FALSE(report.Error) << *report.Error;
  EXPECT_EQ(report.Notices, (std::vector<Notice>{{DialogKind::Information,
                                                  "One of the loaded effects generates recursivity, please verify.",
                                                  DialogButtons::Yes}}));
  EXPECT_TRUE(target.HasRecursion());
}

TEST(ShowFolder, WithoutShowJsonTheTitleIsTheFolderName) {
  ScratchDir dir;
  const fs::path folder = dir.Path() / "Quay";
  DeviceList source = PresetList(1);
  ASSERT_TRUE(SaveShowFolder(folder, SmallShow(), source.Devices(), ExistingShowFiles::kKeep).Saved);
  fs::remove(folder / "show.json");
  ShowDocument opened;
  const ShowOpenReport report = OpenShowFolder(folder, source, opened);
  ASSERT_FALSE(report.Error) << *report.Error;
  EXPECT_FALSE(report.MusicMissing);
  EXPECT_EQ(ShowTitle(opened.Settings, folder), "Quay");
  EXPECT_EQ(ShowTitle(opened.Settings, dir.Folder() + "Quay/"), "Quay");
  EXPECT_FALSE(ShowMusicPath(opened.Settings, folder));
}

TEST(ShowFolder, RefusedFilesLeaveTheListAloneUntilTheCodesAreChecked) {
  ScratchDir dir;
  DeviceList source = PresetList(1);
  ASSERT_TRUE(SaveShowFolder(dir.Path(), SmallShow(), source.Devices(), ExistingShowFiles::kKeep).Saved);
  DeviceList target = PresetList(3);
  ShowDocument opened;
  opened.Settings.Title = "untouched";

  dir.Write("cues.csv", "time,code\n1,101\nlater,101\n");
  ShowOpenReport report = OpenShowFolder(dir.Path(), target, opened);
  EXPECT_EQ(report.Error, "cues.csv line 3: time \"later\" is not a time in seconds.");
  EXPECT_EQ(target.Devices().front()->Definition.Code, 301);
  EXPECT_EQ(opened.Settings.Title, "untouched");

  dir.Write("cues.csv", "time,code\n1,301\n");
  report = OpenShowFolder(dir.Path(), target, opened);
  EXPECT_EQ(report.Error, "cues.csv line 2: no device has code 301.");
  EXPECT_EQ(target.Devices().front()->Definition.Code, 101);

  dir.Write("show.json", "{\"format\":\"other\"}");
  report = OpenShowFolder(dir.Path(), target, opened);
  EXPECT_EQ(report.Error, "show.json: \"format\" must be \"orvane-show\".");

  fs::remove(dir.Path() / "show.json");
  fs::remove(dir.Path() / "cues.csv");
  report = OpenShowFolder(dir.Path(), target, opened);
  EXPECT_EQ(report.Error, "The folder \"" + dir.Path().string() + "\" holds no cues.csv.");
  fs::create_directory(dir.Path() / "cues.csv");
  report = OpenShowFolder(dir.Path(), target, opened);
  EXPECT_EQ(report.Error, "\"" + (dir.Path() / "cues.csv").string() + "\" is not a readable file.");
  EXPECT_EQ(opened.Settings.Title, "untouched");
}

// As Load does, the load ends at the file; unlike Load, the show then does not open with
// devices silently missing, and the one message names the file as well as the value.
TEST(ShowFolder, ARefusedDecimalStopsTheShowAndNamesTheFile) {
  ScratchDir dir;
  DeviceList source = PresetList(1);
  ASSERT_TRUE(SaveShowFolder(dir.Path(), SmallShow(), source.Devices(), ExistingShowFiles::kKeep).Saved);
  const fs::path bad = dir.Path() / "102.osub";
  std::string text = ReadFileBytes(bad);
  const size_t at = text.find("BestX=");
  ASSERT_NE(at, std::string::npos);
  text.replace(at + 6, text.find('\r', at) - (at + 6), "abc");
  dir.Write("102.osub", text);
  DeviceList target = PresetList(3);
  ShowDocument opened;
  opened.Settings.Title = "untouched";
  const ShowOpenReport report = OpenShowFolder(dir.Path(), target, opened);
  ASSERT_TRUE(report.Error);
  EXPECT_NE(report.Error->find("\"" + bad.string() + "\""), std::string::npos) << *report.Error;
  EXPECT_NE(report.Error->find("is not a valid floating point value"), std::string::npos) << *report.Error;
  EXPECT_NE(report.Error->find("abc"), std::string::npos) << *report.Error;
  EXPECT_EQ(opened.Settings.Title, "untouched");
  EXPECT_TRUE(report.Notices.empty()) << "the load's error box is left to the report's error";
}

// Saving a show rewrites the device files whose devices changed and no other: a file the
// user edited by hand meanwhile, or a sub-device's definition the loader skips, survives.
TEST(ShowFolder, SavingWritesOnlyTheDevicesThatChanged) {
  ScratchDir dir;
  DeviceList source = PresetList(1);
  ASSERT_TRUE(SaveShowFolder(dir.Path(), SmallShow(), source.Devices(), ExistingShowFiles::kKeep).Saved);
  const std::string handMade = ReadFileBytes(dir.Path() / "102.osub") + "[Workshop]\r\nNote=keep\r\n";
  dir.Write("102.osub", handMade);
  DeviceList list = PresetList(3);
  ShowDocument opened;
  ASSERT_FALSE(OpenShowFolder(dir.Path(), list, opened).Error);
  auto inode = [&dir](const char* name) {
    struct stat info {};
    EXPECT_EQ(stat((dir.Path() / name).c_str(), &info), 0);
    return info.st_ino;
  };
  const auto inodes = std::vector{inode("101.odev"), inode("102.osub"), inode("103.osub")};
  list.Devices()[0]->StarQuantity = 123;  // 101 changed, the others not
  dir.Write("103.osub", ReadFileBytes(dir.Path() / "103.osub") + "; edited outside meanwhile\r\n");
  const std::string edited = ReadFileBytes(dir.Path() / "103.osub");
  opened.Settings.Title = "Renamed";
  const ShowSaveReport saved = SaveShowFolder(dir.Path(), opened, list.Devices(), ExistingShowFiles::kReplace);
  ASSERT_TRUE(saved.Saved) << saved.Error.value_or("");
  EXPECT_NE(inode("101.odev"), inodes[0]);
  EXPECT_EQ(inode("102.osub"), inodes[1]);
  EXPECT_EQ(inode("103.osub"), inodes[2]);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "102.osub"), handMade);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "103.osub"), edited);
  EXPECT_NE(ReadFileBytes(dir.Path() / "101.odev").find("StarQuantity=123"), std::string::npos);
  EXPECT_NE(ReadFileBytes(dir.Path() / "show.json").find("Renamed"), std::string::npos);
}

TEST(ShowFolder, AsksBeforeReplacingFilesThatDiffer) {
  ScratchDir dir;
  DeviceList list = PresetList(1);
  ShowDocument show = SmallShow();
  ASSERT_TRUE(SaveShowFolder(dir.Path(), show, list.Devices(), ExistingShowFiles::kKeep).Saved);
  // The same show again: nothing differs, nothing needs replacing.
  ShowSaveReport report = SaveShowFolder(dir.Path(), show, list.Devices(), ExistingShowFiles::kKeep);
  EXPECT_TRUE(report.Saved);
  EXPECT_FALSE(report.WouldReplace);

  const std::string before = ReadFileBytes(dir.Path() / "cues.csv");
  show.Cues.pop_back();
  report = SaveShowFolder(dir.Path(), show, list.Devices(), ExistingShowFiles::kKeep);
  EXPECT_FALSE(report.Saved);
  EXPECT_TRUE(report.WouldReplace);
  EXPECT_FALSE(report.Error);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "cues.csv"), before);

  report = SaveShowFolder(dir.Path(), show, list.Devices(), ExistingShowFiles::kReplace);
  EXPECT_TRUE(report.Saved);
  EXPECT_FALSE(report.WouldReplace);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "cues.csv"), CueListText(show.Cues));
}

TEST(ShowFolder, SiteProductsAndPositionsSurviveASave) {
  ScratchDir dir;
  DeviceList list = PresetList(1);
  ShowDocument show = SmallShow();
  ASSERT_TRUE(SaveShowFolder(dir.Path(), show, list.Devices(), ExistingShowFiles::kKeep).Saved);
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
  ASSERT_TRUE(SaveShowFolder(dir.Path(), show, list.Devices(), ExistingShowFiles::kReplace).Saved);
  ShowDocument opened;
  const ShowOpenReport report = OpenShowFolder(dir.Path(), list, opened);
  ASSERT_FALSE(report.Error) << *report.Error;
  EXPECT_EQ(opened.Settings, show.Settings);
  ASSERT_EQ(opened.Products.Rows.size(), 1u);
  EXPECT_EQ(opened.Products.Rows[0].Name, "75 mm gold peony");
  EXPECT_TRUE(opened.ProductsFile);
  ASSERT_EQ(opened.Cues.size(), 3u);
  EXPECT_EQ(opened.Cues[2].Position, "C");

  // Every product gone: the file is emptied, not left with the old rows.
  opened.Products.Rows.clear();
  ASSERT_TRUE(SaveShowFolder(dir.Path(), opened, list.Devices(), ExistingShowFiles::kReplace).Saved);
  ShowDocument again;
  ASSERT_FALSE(OpenShowFolder(dir.Path(), list, again).Error);
  EXPECT_TRUE(again.Products.Rows.empty());
}

TEST(ShowFolder, BadProductsOrPositionsRefuseTheWholeShow) {
  ScratchDir dir;
  DeviceList list = PresetList(1);
  ASSERT_TRUE(SaveShowFolder(dir.Path(), SmallShow(), list.Devices(), ExistingShowFiles::kKeep).Saved);
  DeviceList target = PresetList(3);
  ShowDocument opened;
  opened.Settings.Title = "untouched";

  dir.Write("products.csv", "code,name,price\n101,shell,cheap\n");
  ShowOpenReport report = OpenShowFolder(dir.Path(), target, opened);
  EXPECT_EQ(report.Error,
            "products.csv line 2: price \"cheap\" is not a price from 0 (digits with \".\" for the decimals).");
  EXPECT_EQ(target.Devices().front()->Definition.Code, 301);  // refused before the devices load

  dir.Write("products.csv", "code,name\n101,shell\n999,ghost\n");
  report = OpenShowFolder(dir.Path(), target, opened);
  EXPECT_EQ(report.Error, "products.csv line 3: code 999 names no device of the show.");

  fs::remove(dir.Path() / "products.csv");
  dir.Write("cues.csv", "time,code,position\n1,101,Z\n");
  report = OpenShowFolder(dir.Path(), target, opened);
  EXPECT_EQ(report.Error, "cues.csv line 2: position \"Z\" is not a position of the site.");

  dir.Write("show.json", R"({"format":"orvane-show","version":1,"site":{"metres_per_unit":0}})");
  report = OpenShowFolder(dir.Path(), target, opened);
  EXPECT_EQ(report.Error, "show.json: \"site.metres_per_unit\" must be a number above 0.");
  EXPECT_EQ(opened.Settings.Title, "untouched");
  EXPECT_TRUE(opened.Cues.empty());
}

TEST(StagedFiles, AFailedWriteReplacesNothing) {
  ScratchDir dir;
  dir.Write("a.txt", "old a");
  // A name that cannot be made: its folder does not exist.
  const std::string error = FailureText(WriteFilesTogether(dir.Path(), {{"a.txt", "new a"}, {"missing/b.txt", "b"}}));
  EXPECT_NE(error.find("missing/b.txt"), std::string::npos) << error;
  EXPECT_EQ(ReadFileBytes(dir.Path() / "a.txt"), "old a");
  size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(dir.Path())) entries += entry.exists();
  EXPECT_EQ(entries, 1u);

  // A folder where a later file goes: refused before anything is replaced.
  fs::create_directory(dir.Path() / "b.txt");
  EXPECT_FALSE(WriteFilesTogether(dir.Path(), {{"a.txt", "new a"}, {"b.txt", "b"}}));
  EXPECT_EQ(ReadFileBytes(dir.Path() / "a.txt"), "old a");
  // A FIFO or a device in a file's place is never replaced by a regular file.
  ASSERT_EQ(mkfifo((dir.Path() / "c.csv").c_str(), 0600), 0);
  const std::string refused = FailureText(WriteFilesTogether(dir.Path(), {{"a.txt", "new a"}, {"c.csv", "c"}}));
  EXPECT_NE(refused.find("not a regular file"), std::string::npos) << refused;
  EXPECT_TRUE(fs::is_fifo(dir.Path() / "c.csv"));
  EXPECT_EQ(ReadFileBytes(dir.Path() / "a.txt"), "old a");
}

TEST(StagedFiles, ASmallFileIsReadWholeAndAnythingElseIsRefusedWithoutWaiting) {
  ScratchDir dir;
  dir.Write("ten.txt", "0123456789");
  dir.Write("empty.txt", "");
  ASSERT_EQ(mkfifo((dir.Path() / "pipe.csv").c_str(), 0600), 0);
  fs::create_directory(dir.Path() / "folder.csv");
  fs::create_symlink(dir.Path() / "ten.txt", dir.Path() / "link.txt");
  const struct {
    const char* Name;
    uintmax_t MaxBytes;
    const char* Bytes;  // null: refused
    const char* Refusal;
  } cases[] = {
      {"ten.txt", 10, "0123456789", ""},
      {"link.txt", 10, "0123456789", ""},
      {"empty.txt", 0, "", ""},
      {"ten.txt", 9, nullptr, "is too large (10 bytes)."},
      {"pipe.csv", 100, nullptr, "is not a readable file."},
      {"folder.csv", 100, nullptr, "is not a readable file."},
      {"missing.csv", 100, nullptr, "is not a readable file."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const Result<std::string> read = ReadSmallFile(dir.Path() / c.Name, c.MaxBytes);
    if (c.Bytes) {
      ASSERT_TRUE(read) << read.Message();
      EXPECT_EQ(read.Value(), c.Bytes);
    } else {
      EXPECT_EQ(FailureText(read), "\"" + (dir.Path() / c.Name).string() + "\" " + c.Refusal);
    }
  }
}

}  // namespace
}  // namespace orvane
