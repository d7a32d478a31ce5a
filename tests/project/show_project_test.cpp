#include "project/show_project.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "compiler/compiled_device_prep.h"
#include "model/presets.h"
#include "project/show_seed.h"
#include "show/camera_path.h"
#include "show/cue_list.h"
#include "show/show_folder.h"
#include "show/show_settings.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::ScriptedDialogs;
using testing::ShownMessage;

class Recorder : public ProjectObserver {
 public:
  void ProjectChanged(const ProjectChange& change) override { Changes.push_back(change); }
  void ShowCompileStarted() override { ++CompileStarts; }
  void ShowCompiled(bool written) override { Compiled.push_back(written); }
  void PlaybackEnded() override { ++Ended; }
  void ProjectSaved() override { ++Saves; }
  void ShowCompileWarning(const std::string& text) override { Warnings.push_back(text); }
  bool Saw(ProjectPart part) const {
    for (const ProjectChange& c : Changes)
      if (c.Has(part)) return true;
    return false;
  }
  std::vector<ProjectChange> Changes;
  std::vector<bool> Compiled;
  std::vector<std::string> Warnings;
  int CompileStarts = 0, Ended = 0, Saves = 0;
};

// The example show copied into a scratch folder and opened.
struct Opened {
  Opened() {
    Folder = Dir.Path() / "harbour-night";
    fs::copy(ORVANE_EXAMPLE_SHOW, Folder, fs::copy_options::recursive);
    Project.AddObserver(Seen);
    Report = std::make_unique<ProjectOpenReport>(Project.Open(Folder, Dialogs));
  }
  std::vector<std::string> Codes() const {
    std::vector<std::string> out;
    for (const DeviceListItem& item : Project.Devices().Items()) out.push_back(item.Caption);
    return out;
  }

  ScratchDir Dir;
  fs::path Folder;
  ScriptedDialogs Dialogs;
  ShowProject Project{PrepareCompiledPart};
  Recorder Seen;
  std::unique_ptr<ProjectOpenReport> Report;
};

TEST(ShowProject, OpensAShowFolderSortedWithASeedFromItsCueList) {
  Opened o;
  ASSERT_TRUE(o.Report->Opened) << o.Report->Opened.Message();
  EXPECT_TRUE(o.Project.ShowOpen());
  EXPECT_EQ(o.Project.Title(), "Harbour Night");
  EXPECT_EQ(o.Project.Cues().size(), 36u);
  for (size_t i = 1; i < o.Project.Cues().size(); ++i)
    EXPECT_LE(o.Project.Cues()[i - 1].TimeMs, o.Project.Cues()[i].TimeMs);
  EXPECT_EQ(o.Project.Seed(), SeedFromCueText(ReadFileBytes(o.Folder / "cues.csv")));
  EXPECT_EQ(o.Project.MusicPath(), o.Folder / "music.ogg");
  EXPECT_FALSE(o.Project.Modified());
  EXPECT_FALSE(o.Project.History().CanUndo());
  ASSERT_FALSE(o.Seen.Changes.empty());
  EXPECT_TRUE(o.Seen.Changes.back().Has(ProjectPart::kDocument));
  EXPECT_EQ(o.Codes().size(), o.Project.Devices().Devices().size());
}

// The device load's own messages reach the user through the project, as the load gave them.
TEST(ShowProject, OpeningShowsWhatTheDeviceLoadSaid) {
  ScratchDir dir;
  ScriptedDialogs dialogs;
  DeviceList source(PrepareCompiledPart);
  ASSERT_TRUE(ApplyPreset(1, source, dialogs));
  TBaseDevice& last = *source.Devices().back();
  last.NextEffExists = true;  // back to the first device: a cycle
  last.NextEffCode = source.Devices().front()->Definition.Code;
  ShowDocument show;
  show.Cues.push_back({0, last.NextEffCode, std::nullopt, std::nullopt, std::nullopt, "", 0});
  ASSERT_TRUE(SaveShowFolder(dir.Path(), show, source.Devices(), ExistingShowFiles::kKeep).Saved);
  dialogs.Clear();
  ShowProject project(PrepareCompiledPart);
  const ProjectOpenReport report = project.Open(dir.Path(), dialogs);
  ASSERT_TRUE(report.Opened) << report.Opened.Message();
  const ShownMessage& shown = dialogs.OnlyMessage();
  EXPECT_EQ(shown.Kind, DialogKind::Information);
  EXPECT_EQ(shown.Buttons, DialogButtons::Yes);
  EXPECT_EQ(shown.Text, "One of the loaded effects generates recursivity, please verify.");
}

TEST(ShowProject, ARefusedFolderLeavesTheShowAndTheDevicesAsTheyWere) {
  Opened o;
  const std::vector<Cue> cues = o.Project.Cues();
  const auto codes = o.Codes();
  const uint64_t generation = o.Project.Generation();
  struct Case {
    const char* Name;
    const char* Cues;  // nullptr: no cues.csv
    const char* Json;  // nullptr: no show.json
    const char* Message;
  };
  const Case cases[] = {
      {"nocues", nullptr, nullptr, "holds no cues.csv."},
      {"badjson", "time,code\n0,101\n", "{\"format\": 3}", "show.json: \"format\" must be \"orvane-show\"."},
      {"badseed", "time,code\n0,101\n", R"({"format":"orvane-show","version":1,"seed":-4})",
       "show.json: \"seed\" must be a whole number from 0 to 4294967295."},
      {"unknowncode", "time,code\n0,999\n", nullptr, "cues.csv line 2: no device has code 999."},
  };
  for (const Case& c : cases) {
    const fs::path folder = o.Dir.Path() / c.Name;
    fs::create_directories(folder);
    fs::copy_file(o.Folder / "101.odev", folder / "101.odev");
    if (c.Cues) o.Dir.Write(std::string(c.Name) + "/cues.csv", c.Cues);
    if (c.Json) o.Dir.Write(std::string(c.Name) + "/show.json", c.Json);
    const ProjectOpenReport r = o.Project.Open(folder, o.Dialogs);
    ASSERT_FALSE(r.Opened) << c.Name;
    EXPECT_NE(r.Opened.Message().find(c.Message), std::string::npos) << r.Opened.Message();
    EXPECT_EQ(o.Project.Cues(), cues) << c.Name;
    EXPECT_EQ(o.Codes(), codes) << c.Name;
    EXPECT_EQ(o.Project.Folder(), o.Folder);
    EXPECT_EQ(o.Project.Generation(), generation);
  }
}

TEST(ShowProject, CueSettingsAndDeviceEditsShareOneHistory) {
  Opened o;
  const ShowDocument opened = o.Project.Show();
  const auto codes = o.Codes();
  o.Seen.Changes.clear();

  Cue cue;
  cue.TimeMs = 2250;
  cue.Code = 101;
  o.Project.EditCues("Add cue", AddCueChange(o.Project.Cues(), cue));
  ASSERT_EQ(o.Seen.Changes.size(), 1u);
  EXPECT_TRUE(o.Seen.Changes[0].Has(ProjectPart::kCues));
  ASSERT_EQ(o.Seen.Changes[0].CueRows.size(), 1u);
  EXPECT_EQ(o.Project.Cues()[o.Seen.Changes[0].CueRows[0]].TimeMs, 2250);
  o.Project.SetTitle("Edited");
  o.Project.SetSeed(99);
  EXPECT_EQ(o.Project.Title(), "Edited");
  EXPECT_EQ(o.Project.Seed(), 99u);
  // Delete device 104 through the list's own operation: one edit of the history.
  o.Project.Devices().Select(3);
  const std::string deleted = o.Project.Devices().Items()[3].Caption;
  o.Dialogs.Answers.push_back(DialogAnswer::Yes);
  EXPECT_TRUE(o.Project.EditDevices("Delete device", [&](DeviceList& l) { l.Delete(o.Dialogs); }));
  EXPECT_EQ(o.Dialogs.Messages.back().Text, "Are you sure you wish to delete the device code " + deleted + "?");
  EXPECT_EQ(o.Codes().size(), codes.size() - 1);
  EXPECT_NE(o.Seen.Changes.back().Note.find("they are marked."), std::string::npos) << o.Seen.Changes.back().Note;
  EXPECT_EQ(o.Project.History().UndoText(), "Delete device");
  EXPECT_TRUE(o.Project.Modified());
  // A refused question changes nothing and makes no step.
  o.Dialogs.Answers.push_back(DialogAnswer::No);
  EXPECT_FALSE(o.Project.EditDevices("Delete device", [&](DeviceList& l) { l.Delete(o.Dialogs); }));
  EXPECT_EQ(o.Project.History().Count(), 4u);

  const uint64_t revision = o.Project.Devices().Revision();
  o.Project.Undo();
  EXPECT_EQ(o.Codes(), codes);
  EXPECT_GT(o.Project.Devices().Revision(), revision);
  EXPECT_EQ(o.Project.Devices().Selection(), std::optional<size_t>(3));
  EXPECT_TRUE(o.Seen.Changes.back().Has(ProjectPart::kDevices));
  o.Project.Redo();
  EXPECT_EQ(o.Codes().size(), codes.size() - 1);
  while (o.Project.History().CanUndo()) o.Project.Undo();
  EXPECT_EQ(o.Project.Show().Cues, opened.Cues);
  EXPECT_EQ(o.Project.Settings(), opened.Settings);
  EXPECT_EQ(o.Codes(), codes);
  EXPECT_FALSE(o.Project.Modified());
  while (o.Project.History().CanRedo()) o.Project.Redo();
  EXPECT_EQ(o.Project.Title(), "Edited");
  EXPECT_EQ(o.Codes().size(), codes.size() - 1);
}

TEST(ShowProject, APresetReplacingTheShowsDevicesAsksFirstAndUndoesAsOneEdit) {
  Opened o;
  const auto codes = o.Codes();
  const size_t devices = codes.size();
  o.Dialogs.Answers.push_back(DialogAnswer::No);
  EXPECT_FALSE(o.Project.ConfirmReplacingDevices("Preset 3", o.Dialogs));
  EXPECT_EQ(o.Dialogs.Messages.back().Text,
            "Preset 3 replaces the show's " + std::to_string(devices) +
                " devices; cues whose device it lacks are marked. Do you wish to go on?");
  EXPECT_EQ(o.Dialogs.Messages.back().Buttons, DialogButtons::YesNo);
  o.Dialogs.Answers.push_back(DialogAnswer::Yes);
  ASSERT_TRUE(o.Project.ConfirmReplacingDevices("Preset 3", o.Dialogs));
  ASSERT_TRUE(o.Project.EditDevices("Preset 3", [&](DeviceList& l) { ApplyPreset(3, l, o.Dialogs); }));
  EXPECT_EQ(o.Codes(), (std::vector<std::string>{"301", "302", "303"}));
  const size_t orphans = o.Project.OrphanedCues();
  EXPECT_GT(orphans, 0u);
  EXPECT_EQ(o.Seen.Changes.back().Note,
            std::to_string(orphans) + " cues name devices the list does not have; they are marked.");
  EXPECT_EQ(o.Project.History().Count(), 1u);
  o.Project.Undo();
  EXPECT_EQ(o.Codes(), codes);
  EXPECT_EQ(o.Project.OrphanedCues(), 0u);

  // Without a show nothing is asked.
  ShowProject alone(PrepareCompiledPart);
  ScriptedDialogs quiet;
  EXPECT_TRUE(alone.ConfirmReplacingDevices("Preset 3", quiet));
  EXPECT_TRUE(quiet.Messages.empty());
}

TEST(ShowProject, SaveAsksOnlyAboutFilesChangedOnDiskAndNamesThem) {
  Opened o;
  o.Project.SetTitle("Saved once");
  ProjectSaveReport r = o.Project.Save(o.Dialogs);
  EXPECT_EQ(r.End, WriteEnd::kWritten) << r.Message;
  EXPECT_TRUE(o.Dialogs.Messages.empty());
  EXPECT_FALSE(o.Project.Modified());
  EXPECT_EQ(o.Seen.Saves, 1);
  // The seed the show compiled from is written with it.
  const Result<ShowSettings> read = ReadShowSettings(ReadFileBytes(o.Folder / "show.json"));
  ASSERT_TRUE(read) << read.Message();
  const ShowSettings& written = read.Value();
  EXPECT_EQ(written.Seed, o.Project.Seed());
  EXPECT_EQ(written.Title, "Saved once");

  // Someone else edits cues.csv and 101.odev: the save names cues.csv, and No writes nothing.
  // Device 101 is unchanged in the project, so its file is never rewritten and keeps their edit.
  const std::string theirs = "time,code\n0,101\n";
  o.Dir.Write("harbour-night/cues.csv", theirs);
  const std::string theirDevice = ReadFileBytes(o.Folder / "101.odev") + "\n";
  o.Dir.Write("harbour-night/101.odev", theirDevice);
  o.Project.SetTitle("Saved twice");
  o.Dialogs.Answers.push_back(DialogAnswer::No);
  r = o.Project.Save(o.Dialogs);
  EXPECT_EQ(r.End, WriteEnd::kDeclined);
  EXPECT_EQ(o.Dialogs.OnlyMessage().Text,
            "These files of the show were changed on disk since it was opened or saved: cues.csv. "
            "Do you wish to replace them?");
  EXPECT_EQ(ReadFileBytes(o.Folder / "cues.csv"), theirs);
  EXPECT_TRUE(o.Project.Modified());
  o.Dialogs.Clear();
  o.Dialogs.Answers.push_back(DialogAnswer::Yes);
  EXPECT_EQ(o.Project.Save(o.Dialogs).End, WriteEnd::kWritten);
  EXPECT_EQ(ReadFileBytes(o.Folder / "cues.csv"), CueListText(o.Project.Cues()));
  EXPECT_EQ(ReadFileBytes(o.Folder / "101.odev"), theirDevice);
  // Saved again at once: nothing changed on disk, nothing asked.
  o.Dialogs.Clear();
  EXPECT_EQ(o.Project.Save(o.Dialogs).End, WriteEnd::kWritten);
  EXPECT_TRUE(o.Dialogs.Messages.empty());

  // Save As into a folder holding another cues.csv: named, and refused on No.
  o.Dir.Write("other/cues.csv", theirs);
  o.Dialogs.Answers.push_back(DialogAnswer::No);
  EXPECT_EQ(o.Project.SaveAs(o.Dir.Path() / "other", o.Dialogs).End, WriteEnd::kDeclined);
  EXPECT_EQ(o.Dialogs.OnlyMessage().Text,
            "These files already exist in the folder with other contents: cues.csv. Do you wish to replace them?");
  EXPECT_EQ(o.Project.Folder(), o.Folder);
  EXPECT_EQ(o.Project.Settings().MusicFile, "music.ogg");
  o.Dialogs.Clear();
  EXPECT_EQ(o.Project.SaveAs(o.Dir.Path() / "fresh", o.Dialogs).End, WriteEnd::kWritten);
  EXPECT_EQ(o.Project.Folder(), o.Dir.Path() / "fresh");
  EXPECT_EQ(o.Project.MusicPath(), fs::absolute(o.Folder / "music.ogg").lexically_normal());
}

TEST(ShowProject, CameraKeysAreUndoableEditsSavedAsCameraCsv) {
  Opened o;
  ASSERT_TRUE(o.Report->Opened) << o.Report->Opened.Message();
  EXPECT_TRUE(o.Project.CameraKeys().empty());
  // Taken as a display gives it: float noise, an eye under the ground, a field of view out of range.
  const CameraPathPose display{{0.1f, -3.0f, 160.00000476837158}, {1.5, 80.25f, -0.0001}, 200};
  o.Project.AddCameraKey({2000, display});
  o.Project.AddCameraKey({500, {{-60, 12, 140}, {0, 90, 0}, 50}});
  ASSERT_EQ(o.Project.CameraKeys().size(), 2u);
  EXPECT_EQ(o.Project.CameraKeys()[0].TimeMs, 500);
  const CameraPathPose kept = o.Project.CameraKeys()[1].Pose;
  EXPECT_EQ(kept.Eye, (Metres3{0.1, 0, 160}));
  EXPECT_EQ(kept.Target, (Metres3{1.5, 80.25, 0}));
  EXPECT_EQ(kept.FovDegrees, kHighestCameraFov);
  EXPECT_TRUE(o.Seen.Saw(ProjectPart::kCamera));
  // A key at a key's time replaces it.
  o.Project.AddCameraKey({500, {{-70, 12, 140}, {0, 90, 0}, 50}});
  ASSERT_EQ(o.Project.CameraKeys().size(), 2u);
  EXPECT_EQ(o.Project.CameraKeys()[0].Pose.Eye[0], -70);
  o.Project.Undo();
  EXPECT_EQ(o.Project.CameraKeys()[0].Pose.Eye[0], -60);
  o.Project.Redo();

  ASSERT_EQ(o.Project.Save(o.Dialogs).End, WriteEnd::kWritten);
  const Result<std::vector<CameraKey>> onDisk =
      ReadCameraPath(ReadFileBytes(o.Folder / kCameraPathFileName), "camera.csv");
  ASSERT_TRUE(onDisk) << onDisk.Message();
  EXPECT_EQ(onDisk.Value(), o.Project.CameraKeys());

  // Opened again, the keys are back; all taken out and saved, the file stays as a header alone.
  ShowProject again{PrepareCompiledPart};
  ASSERT_TRUE(again.Open(o.Folder, o.Dialogs).Opened);
  EXPECT_EQ(again.CameraKeys(), o.Project.CameraKeys());
  EXPECT_FALSE(again.RemoveCameraKey(1234));
  EXPECT_TRUE(again.RemoveCameraKey(500));
  EXPECT_TRUE(again.RemoveCameraKey(2000));
  ASSERT_EQ(again.Save(o.Dialogs).End, WriteEnd::kWritten);
  EXPECT_EQ(ReadFileBytes(o.Folder / kCameraPathFileName), CameraPathText({}));
  again.Undo();
  EXPECT_EQ(again.CameraKeys().size(), 1u);

  // A damaged camera.csv refuses the show, naming the file's line.
  o.Dir.Write("harbour-night/camera.csv", "time,eye_x,eye_y,eye_z,target_x,target_y,target_z,fov\n1,0,2,150,0,60,0,\n");
  ShowProject refused{PrepareCompiledPart};
  const ProjectOpenReport r = refused.Open(o.Folder, o.Dialogs);
  ASSERT_FALSE(r.Opened);
  EXPECT_NE(r.Opened.Message().find("camera.csv line 2, column 8 (fov)"), std::string::npos) << r.Opened.Message();
}

TEST(ShowProject, TheCompiledStampFollowsEditsUndoScaleSeedAndOtherCompiles) {
  Opened o;
  const fs::path out = o.Dir.Path() / "show.dat";
  ShowCompileRequest request;
  request.Output = out;
  ShowCompileAnswer a = o.Project.RequestCompile(request);
  ASSERT_TRUE(a.Ok()) << a.Refusal.Message;
  EXPECT_EQ(a.Plan->Seed, o.Project.Seed());
  ShowCompileRequest seeded = request;
  seeded.Seed = 5;  // --seed
  EXPECT_EQ(o.Project.RequestCompile(seeded).Plan->Seed, 5u);
  EXPECT_FALSE(o.Project.CompiledCurrent(1.0f));
  o.Project.CompileStarted(*a.Plan);
  EXPECT_EQ(o.Seen.CompileStarts, 1);
  EXPECT_TRUE(o.Project.CompiledCurrent(1.0f));
  EXPECT_FALSE(o.Project.CompiledCurrent(2.0f));
  o.Project.SetTitle("Changed");
  EXPECT_FALSE(o.Project.CompiledCurrent(1.0f));
  o.Project.Undo();
  EXPECT_TRUE(o.Project.CompiledCurrent(1.0f));
  o.Project.CompileEnded(true);
  EXPECT_EQ(o.Seen.Compiled, std::vector<bool>{true});
  EXPECT_TRUE(o.Project.CompiledCurrent(1.0f));
  o.Project.ShowFileReplaced();
  EXPECT_FALSE(o.Project.CompiledCurrent(1.0f));
  o.Project.CompileStarted(*a.Plan);
  o.Project.CompileEnded(false);  // stopped: no file
  EXPECT_FALSE(o.Project.CompiledCurrent(1.0f));
  // A written show whose third cue's particles left the file's range is warned of once,
  // naming that cue as the table numbers it.
  o.Project.CompileStarted(*a.Plan);
  CompileOutcome culled;
  culled.Extents.resize(o.Project.Cues().size());
  culled.Extents[2].Culled = 40;
  culled.Culled = 40;
  o.Project.CompileEnded(culled);
  ASSERT_EQ(o.Seen.Warnings.size(), 1u);
  EXPECT_EQ(o.Seen.Warnings[0].rfind("Particles of the cue at cues.csv line 4 left the range", 0), 0u)
      << o.Seen.Warnings[0];
  culled.State = CompileOutcome::Status::kStopped;
  o.Project.CompileEnded(culled);
  EXPECT_EQ(o.Seen.Warnings.size(), 1u) << "no file, nothing to warn of";
  o.Project.PlaybackEnded();
  EXPECT_EQ(o.Seen.Ended, 1);

  // A show with its own scale compiles at it, whatever the box says.
  ShowSettings scaled = o.Project.Settings();
  scaled.Scale = 0.5f;
  o.Project.EditSettings("Scale", scaled);
  request.BoxScale = 3.0f;
  EXPECT_EQ(o.Project.RequestCompile(request).Plan->Scale, 0.5f);
  request.Scale = 2.0f;  // --scale
  EXPECT_EQ(o.Project.RequestCompile(request).Plan->Scale, 2.0f);
}

TEST(ShowProject, NewAndCloseAndTheRowsOfRefusedFields) {
  Opened o;
  const std::string refusal = "Row 3, cues.csv line 4: time \"soon\" is not a time in seconds.";
  const Result<> r = o.Project.SetCueField(2, CueField::Time, "soon");
  ASSERT_FALSE(r);
  EXPECT_EQ(r.Message(), refusal);
  EXPECT_FALSE(o.Project.History().CanUndo());
  ASSERT_TRUE(o.Project.SetCueField(2, CueField::Label, "third"));
  EXPECT_EQ(o.Project.Cues()[2].Label, "third");

  const auto codes = o.Codes();
  o.Project.New();
  EXPECT_TRUE(o.Project.ShowOpen());
  EXPECT_TRUE(o.Project.Cues().empty());
  EXPECT_EQ(o.Project.Title(), kUntitledShow);
  EXPECT_TRUE(o.Project.Settings().Seed.has_value());
  EXPECT_EQ(o.Codes(), codes);
  ShowCompileRequest request;
  request.Output = o.Dir.Path() / "x.dat";
  EXPECT_EQ(o.Project.RequestCompile(request).Refusal.Message, kNoCuesToCompile);
  o.Project.Close();
  EXPECT_FALSE(o.Project.ShowOpen());
  EXPECT_FALSE(o.Project.Modified());
  EXPECT_EQ(o.Codes(), codes);
}

TEST(ShowProject, BeatsBelongToTheirMusicAndAreKeptWithTheShow) {
  Opened o;
  EXPECT_TRUE(o.Project.BeatsMissing());
  o.Project.SetBeats({"other.ogg", 120, {0.5, 1.0}});
  EXPECT_TRUE(o.Project.BeatsMissing());
  o.Project.SetBeats({"music.ogg", 120, {0.25, 0.5004, 1.0}});
  EXPECT_FALSE(o.Project.BeatsMissing());
  EXPECT_TRUE(o.Seen.Saw(ProjectPart::kBeats));
  EXPECT_FALSE(o.Project.Modified());  // a kept result, not an edit
  o.Project.SetMusic((o.Folder / "music.ogg").string(), 0.4);
  EXPECT_EQ(o.Project.Settings().MusicFile, "music.ogg");
  EXPECT_EQ(o.Project.BeatShowSeconds(), (std::vector<double>{0.5 - 0.4, 1.0 - 0.4}));
  ASSERT_EQ(o.Project.Save(o.Dialogs).End, WriteEnd::kWritten);

  ShowProject again(PrepareCompiledPart);
  ASSERT_TRUE(again.Open(o.Folder, o.Dialogs).Opened);
  EXPECT_FALSE(again.BeatsMissing());
  EXPECT_EQ(again.Settings().Beats->Seconds, (std::vector<double>{0.25, 0.5, 1.0}));
  // Other music: the beats go, and come back only from the analysis.
  again.SetMusic((o.Dir.Path() / "elsewhere.ogg").string(), 0);
  EXPECT_TRUE(again.BeatsMissing());
  again.Undo();
  EXPECT_TRUE(again.BeatsMissing());
}

TEST(ShowProject, PreparesExportsFromTheSavedFolderOrATemporarySave) {
  Opened o;
  Result<PreparedShowExport> clean = o.Project.PrepareExport();
  ASSERT_TRUE(clean) << clean.Message();
  EXPECT_EQ(clean.Value().Folder, o.Folder);
  EXPECT_EQ(clean.Value().Seed, o.Project.Seed());
  EXPECT_EQ(clean.Value().Scratch, nullptr);

  o.Project.SetTitle("Edited");
  Result<PreparedShowExport> edited = o.Project.PrepareExport();
  ASSERT_TRUE(edited) << edited.Message();
  const fs::path scratch = edited.Value().Folder;
  EXPECT_NE(scratch, o.Folder);
  const Result<ShowSettings> read = ReadShowSettings(ReadFileBytes(scratch / "show.json"));
  ASSERT_TRUE(read) << read.Message();
  const ShowSettings& saved = read.Value();
  EXPECT_EQ(saved.Title, "Edited");
  EXPECT_EQ(saved.Seed, o.Project.Seed());
  EXPECT_EQ(fs::path(saved.MusicFile), fs::absolute(o.Folder / "music.ogg"));
  EXPECT_EQ(ReadFileBytes(scratch / "cues.csv"), CueListText(o.Project.Cues()));
  edited = Fail("gone");  // the temporary save goes with it
  EXPECT_FALSE(fs::exists(scratch));

  o.Project.New();
  EXPECT_EQ(o.Project.PrepareExport().Message(), "The show has no cues to export.");
}

}  // namespace
}  // namespace orvane
