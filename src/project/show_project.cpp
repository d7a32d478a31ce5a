#include "project/show_project.h"

#include <algorithm>
#include <cmath>

#include "model/device_file_writer.h"
#include "project/show_seed.h"
#include "show/cue_edit.h"
#include "show/cue_list.h"
#include "show/show_root_cues.h"
#include "show/staged_files.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

bool IsWithin(const fs::path& file, const fs::path& folder) {
  if (folder.empty()) return false;
  const auto rel = file.lexically_normal().lexically_relative(folder.lexically_normal());
  return !rel.empty() && *rel.begin() != "..";
}

// The file's bytes, or nothing when it is not there or not a small regular file.
std::optional<std::string> DiskBytes(const fs::path& path, uintmax_t maxBytes) {
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(path, ec))) return std::nullopt;
  Result<std::string> bytes = ReadSmallFile(path, maxBytes);
  if (!bytes) return std::string("\x01unreadable");
  return std::move(bytes.Value());
}

constexpr uintmax_t kMaxComparedBytes = uintmax_t{64} << 20;

std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& n : names) list += (list.empty() ? "" : ", ") + n;
  return list;
}

}  // namespace

ShowProject::ShowProject(PrepareStep prepare) : data_(std::move(prepare)) {}

void ShowProject::AddObserver(ProjectObserver& observer) { observers_.push_back(&observer); }

void ShowProject::RemoveObserver(ProjectObserver& observer) { std::erase(observers_, &observer); }

void ShowProject::Notify(const ProjectChange& change) {
  // A copy: an observer may register or leave while being told.
  const std::vector<ProjectObserver*> observers = observers_;
  for (ProjectObserver* o : observers)
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->ProjectChanged(change);
}

std::string ShowProject::Title() const {
  std::string title = ShowTitle(data_.Show.Settings, folder_);
  return title.empty() ? kUntitledShow : title;
}

std::optional<fs::path> ShowProject::MusicPath() const { return ShowMusicPath(data_.Show.Settings, folder_); }

// ---- documents

void ShowProject::Adopt(ShowDocument show, const fs::path& folder) {
  std::stable_sort(show.Cues.begin(), show.Cues.end(), [](const Cue& a, const Cue& b) { return a.TimeMs < b.TimeMs; });
  data_.Show = std::move(show);
  folder_ = folder;
  showOpen_ = true;
  history_.Clear();
  ++generation_;
  compiled_.reset();
  lastCompiled_.reset();
}

ProjectOpenReport ShowProject::Open(const fs::path& folder, UserDialogs& dialogs) {
  ProjectOpenReport report;
  // Loaded aside, so a refused show leaves the device list and the show as they were.
  DeviceList loaded(data_.Devices.Prepare());
  loaded.SetDeviceFolder(data_.Devices.DeviceFolder());
  ShowDocument show;
  const ShowOpenReport read = OpenShowFolder(folder, loaded, show);
  for (const Notice& n : read.Notices) dialogs.Message(n.Kind, n.Buttons, n.Text);
  report.Devices = read.Devices;
  report.MusicMissing = read.MusicMissing;
  if (read.Error) {
    report.Opened = Fail(*read.Error);
    return report;
  }
  std::map<std::string, std::string> onDisk;
  const auto remember = [&](const std::string& name, uintmax_t maxBytes) {
    if (auto bytes = DiskBytes(folder / name, maxBytes)) onDisk[name] = std::move(*bytes);
  };
  remember(kCueFileName, kMaxCueFileBytes);
  remember(kShowSettingsFileName, kMaxShowSettingsBytes);
  remember(kCameraPathFileName, kMaxCameraPathBytes);
  remember(kProductFileName, kMaxProductFileBytes);
  for (const auto& device : loaded.Devices()) remember(DeviceFileName(*device), kMaxComparedBytes);
  if (!show.Settings.Seed) show.Settings.Seed = SeedFromCueText(onDisk[kCueFileName]);

  const uint64_t revision = data_.Devices.Revision();
  data_.Devices = std::move(loaded);
  data_.Devices.AdvanceRevisionPast(revision);
  Adopt(std::move(show), folder);
  onDisk_ = std::move(onDisk);
  ProjectChange change;
  change.Parts = ~0u;
  Notify(change);
  return report;
}

void ShowProject::New() {
  ShowDocument show;
  show.Settings.Seed = DrawShowSeed();
  Adopt(std::move(show), {});
  onDisk_.clear();
  ProjectChange change;
  change.Parts = ~0u;
  Notify(change);
}

void ShowProject::Close() {
  if (!showOpen_) return;
  data_.Show = {};
  folder_.clear();
  showOpen_ = false;
  history_.Clear();
  ++generation_;
  compiled_.reset();
  lastCompiled_.reset();
  onDisk_.clear();
  ProjectChange change;
  change.Parts = ~0u;
  Notify(change);
}

ProjectSaveReport ShowProject::Save(UserDialogs& dialogs) { return WriteShow(folder_, dialogs); }

ProjectSaveReport ShowProject::SaveAs(const fs::path& folder, UserDialogs& dialogs) {
  if (folder.lexically_normal() == folder_.lexically_normal()) return Save(dialogs);
  const ShowSettings kept = data_.Show.Settings;
  const fs::path previous = folder_;
  const auto previousOnDisk = onDisk_;
  // A music file named relative to the old folder keeps pointing at the same file.
  if (auto music = MusicPath()) {
    const std::string named = data_.Show.Settings.MusicFile;
    data_.Show.Settings.MusicFile = IsWithin(*music, folder) ? music->lexically_relative(folder).string()
                                                             : fs::absolute(*music).lexically_normal().string();
    if (data_.Show.Settings.Beats && data_.Show.Settings.Beats->MusicFile == named)
      data_.Show.Settings.Beats->MusicFile = data_.Show.Settings.MusicFile;
  }
  folder_ = folder;
  onDisk_.clear();
  ProjectSaveReport report = WriteShow(folder, dialogs);
  if (report.End != WriteEnd::kWritten) {
    folder_ = previous;
    data_.Show.Settings = kept;
    onDisk_ = previousOnDisk;
  }
  return report;
}

ProjectSaveReport ShowProject::WriteShow(const fs::path& folder, UserDialogs& dialogs) {
  ProjectSaveReport report;
  if (folder.empty()) {
    report.Message = "The show has no folder yet.";
    return report;
  }
  ShowDocument saved = data_.Show;
  // The lines cues.csv will give the cues, for the messages that name them.
  for (size_t i = 0; i < saved.Cues.size(); ++i) saved.Cues[i].Line = CueFileLine(i);
  std::vector<FileContent> files = ShowFolderFiles(saved, data_.Devices.Devices(), &report.DuplicateCodes);
  // Devices unchanged since they were read from this folder keep their files untouched.
  const std::vector<std::string> untouched = KeepFilesAsRead(files, data_.Devices.Devices(), folder);
  std::vector<std::string> changedOnDisk;
  for (const FileContent& file : files) {
    const std::optional<std::string> now = DiskBytes(folder / file.Name, std::max<uintmax_t>(file.Bytes.size(), 1) * 4);
    if (!now || *now == file.Bytes) continue;
    const auto known = onDisk_.find(file.Name);
    if (known == onDisk_.end() || known->second != *now) changedOnDisk.push_back(file.Name);
  }
  if (!changedOnDisk.empty()) {
    const std::string question =
        (onDisk_.empty() ? "These files already exist in the folder with other contents: "
                         : "These files of the show were changed on disk since it was opened or saved: ") +
        NameList(changedOnDisk) + ". Do you wish to replace them?";
    if (dialogs.Message(DialogKind::Confirmation, DialogButtons::YesNo, question) != DialogAnswer::Yes) {
      report.End = WriteEnd::kDeclined;
      return report;
    }
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (const Result<> written = WriteFilesTogether(folder, files); !written) {
    report.Message = written.Message();
    return report;
  }
  report.End = WriteEnd::kWritten;
  std::map<std::string, std::string> known;
  for (const std::string& name : untouched)
    if (const auto it = onDisk_.find(name); it != onDisk_.end()) known.insert(*it);
  onDisk_ = std::move(known);
  for (const FileContent& file : files) onDisk_[file.Name] = file.Bytes;
  data_.Show.Cues = std::move(saved.Cues);
  history_.SetClean();
  ProjectChange change;
  change.Add(ProjectPart::kHistory);
  Notify(change);
  for (ProjectObserver* o : std::vector<ProjectObserver*>(observers_)) o->ProjectSaved();
  return report;
}

bool ShowProject::SaveToChosenFolder(UserDialogs& dialogs) {
  const std::string start = folder_.empty() ? data_.Devices.DeviceFolder() : folder_.string();
  const std::optional<std::string> chosen = dialogs.PickFolder("Select the folder to save the show in", start);
  if (!chosen) return false;
  const ProjectSaveReport report = SaveAs(*chosen, dialogs);
  for (const Notice& n : SaveNotices(report)) dialogs.Message(n.Kind, DialogButtons::Ok, n.Text);
  return report.End == WriteEnd::kWritten;
}

ShowProject::LosingEdits ShowProject::AskToSave(UserDialogs& dialogs) {
  if (!Modified()) return LosingEdits::kGoOn;
  switch (dialogs.Message(DialogKind::Confirmation, DialogButtons::YesNoCancel,
                          "The show \"" + Title() + "\" has unsaved changes. Do you wish to save them?")) {
    case DialogAnswer::Yes: {
      if (folder_.empty()) return SaveToChosenFolder(dialogs) ? LosingEdits::kGoOn : LosingEdits::kCancel;
      const ProjectSaveReport report = Save(dialogs);
      for (const Notice& n : SaveNotices(report)) dialogs.Message(n.Kind, DialogButtons::Ok, n.Text);
      return report.End == WriteEnd::kWritten ? LosingEdits::kGoOn : LosingEdits::kCancel;
    }
    case DialogAnswer::No: return LosingEdits::kDiscard;
    default: return LosingEdits::kCancel;
  }
}

std::vector<Notice> ShowProject::SaveNotices(const ProjectSaveReport& report) {
  std::vector<Notice> notices;
  if (report.End == WriteEnd::kFailed) notices.push_back({DialogKind::Error, report.Message});
  if (report.End == WriteEnd::kWritten && !report.DuplicateCodes.empty()) {
    std::string codes;
    for (const int32_t c : report.DuplicateCodes) codes += (codes.empty() ? "" : ", ") + std::to_string(c);
    notices.push_back({DialogKind::Warning,
                       "These device codes appear more than once in the list; only the first device of each was "
                       "saved: " +
                           codes + "."});
  }
  return notices;
}

// ---- edits

void ShowProject::Execute(std::unique_ptr<ProjectCommand> command) {
  ProjectChange change;
  command->Apply(data_, true, change);
  history_.Push(std::move(command));
  change.Add(ProjectPart::kHistory);
  DropStaleBeats(change);
  Notify(change);
}

void ShowProject::EditCues(std::string text, CueListChange change) {
  if (change.Empty()) return;
  Execute(std::make_unique<CueListCommand>(std::move(text), std::move(change)));
}

void ShowProject::EditSettings(std::string text, ShowSettings after) {
  if (after == data_.Show.Settings) return;
  Execute(std::make_unique<SettingsCommand>(std::move(text), data_.Show.Settings, std::move(after)));
}

bool ShowProject::EditDevices(std::string text, const std::function<void(DeviceList&)>& operation) {
  DeviceListState before = data_.Devices.Capture();
  const uint64_t revision = data_.Devices.Revision();
  operation(data_.Devices);
  ProjectChange change;
  change.Add(ProjectPart::kDevices);
  const bool changed = data_.Devices.Revision() != revision;
  if (changed) {
    history_.Push(std::make_unique<DeviceListCommand>(std::move(text), std::move(before), data_.Devices.Capture()));
    change.Add(ProjectPart::kHistory);
    if (showOpen_) {
      if (const size_t orphans = OrphanedCues())
        change.Note = std::to_string(orphans) + (orphans == 1 ? " cue names a device" : " cues name devices") +
                      " the list does not have; they are marked.";
    }
  }
  Notify(change);
  return changed;
}

void ShowProject::SetMusic(const std::string& file, double offsetSeconds) {
  ShowSettings after = data_.Show.Settings;
  const fs::path path(file);
  after.MusicFile = IsWithin(path, folder_) ? path.lexically_normal().lexically_relative(folder_).string() : file;
  after.MusicOffsetSeconds = file.empty() ? 0.0 : offsetSeconds;
  EditSettings("Music", std::move(after));
}

void ShowProject::SetTitle(const std::string& title) {
  ShowSettings after = data_.Show.Settings;
  after.Title = title;
  EditSettings("Title", std::move(after));
}

void ShowProject::SetSeed(uint32_t seed) {
  ShowSettings after = data_.Show.Settings;
  after.Seed = seed;
  EditSettings("Seed", std::move(after));
}

void ShowProject::AddCameraKey(const CameraKey& key) {
  std::vector<CameraKey> after = WithCameraKey(data_.Show.CameraKeys, {key.TimeMs, StorablePose(key.Pose)});
  Execute(std::make_unique<CameraKeysCommand>("Camera key", data_.Show.CameraKeys, std::move(after)));
}

bool ShowProject::RemoveCameraKey(int64_t timeMs) {
  std::vector<CameraKey> after = data_.Show.CameraKeys;
  if (std::erase_if(after, [timeMs](const CameraKey& k) { return k.TimeMs == timeMs; }) == 0) return false;
  Execute(std::make_unique<CameraKeysCommand>("Remove camera key", data_.Show.CameraKeys, std::move(after)));
  return true;
}

Result<CueListChange> ShowProject::CheckCueField(size_t row, CueField field, const std::string& text) const {
  Result<CueListChange> edit = SetCueFieldChange(data_.Show.Cues, row, field, text, &data_.Devices.Devices());
  if (!edit) return Fail("Row " + std::to_string(row + 1) + ", " + edit.Message());
  return edit;
}

Result<> ShowProject::SetCueField(size_t row, CueField field, const std::string& text) {
  Result<CueListChange> edit = CheckCueField(row, field, text);
  if (!edit) return edit.Error();
  EditCues("Edit cue", std::move(edit.Value()));
  return {};
}

Result<> ShowProject::ImportCues(const fs::path& file) {
  const Result<std::string> bytes = ReadSmallFile(file, kMaxCueFileBytes);
  if (!bytes) return bytes.Error();
  Result<std::vector<Cue>> read =
      ReadCueList(bytes.Value(), file.filename().string(), &data_.Devices.Devices(), &data_.Show.Settings.Site);
  if (!read) return read.Error();
  std::vector<Cue>& cues = read.Value();
  std::stable_sort(cues.begin(), cues.end(), [](const Cue& a, const Cue& b) { return a.TimeMs < b.TimeMs; });
  std::vector<size_t> all(data_.Show.Cues.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  EditCues("Import cues", MakeChange(data_.Show.Cues, std::move(all), std::move(cues)));
  return {};
}

ProjectSaveReport ShowProject::ExportCues(const fs::path& file, UserDialogs& dialogs) {
  ProjectSaveReport report;
  std::error_code ec;
  if (fs::exists(fs::symlink_status(file, ec)) &&
      dialogs.Message(DialogKind::Confirmation, DialogButtons::YesNo,
                      "The file " + file.filename().string() + " already exists, do you wish to replace it?") !=
          DialogAnswer::Yes) {
    report.End = WriteEnd::kDeclined;
    return report;
  }
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  if (const Result<> written = WriteFilesTogether(folder, {{file.filename().string(), CueListText(data_.Show.Cues)}});
      !written) {
    report.Message = written.Message();
    return report;
  }
  report.End = WriteEnd::kWritten;
  return report;
}

void ShowProject::Undo() {
  ProjectCommand* command = history_.StepBack();
  if (command == nullptr) return;
  ProjectChange change;
  command->Apply(data_, false, change);
  change.Add(ProjectPart::kHistory);
  DropStaleBeats(change);
  Notify(change);
}

void ShowProject::Redo() {
  ProjectCommand* command = history_.StepForward();
  if (command == nullptr) return;
  ProjectChange change;
  command->Apply(data_, true, change);
  change.Add(ProjectPart::kHistory);
  DropStaleBeats(change);
  Notify(change);
}

bool ShowProject::ConfirmReplacingDevices(const std::string& what, UserDialogs& dialogs) const {
  if (!showOpen_) return true;
  return dialogs.Message(DialogKind::Confirmation, DialogButtons::YesNo,
                         what + " replaces the show's " + std::to_string(data_.Devices.Devices().size()) +
                             " devices; cues whose device it lacks are marked. Do you wish to go on?") ==
         DialogAnswer::Yes;
}

size_t ShowProject::OrphanedCues() const {
  const DeviceRecords& devices = data_.Devices.Devices();
  return static_cast<size_t>(std::count_if(data_.Show.Cues.begin(), data_.Show.Cues.end(),
                                           [&](const Cue& c) { return CueDeviceMissing(c, devices); }));
}

// ---- kept results

void ShowProject::DropStaleBeats(ProjectChange& change) {
  ShowSettings& s = data_.Show.Settings;
  if (s.Beats && s.Beats->MusicFile != s.MusicFile) {
    s.Beats.reset();
    change.Add(ProjectPart::kBeats);
  }
}

void ShowProject::SetBeats(ShowBeats beats) {
  if (beats.MusicFile != data_.Show.Settings.MusicFile || data_.Show.Settings.MusicFile.empty()) return;
  if (beats.Seconds.size() > kMaxShowBeats) beats.Seconds.resize(kMaxShowBeats);
  // Milliseconds are finer than any snap needs and keep show.json short.
  for (double& t : beats.Seconds) t = std::round(t * 1000.0) / 1000.0;
  data_.Show.Settings.Beats = std::move(beats);
  ProjectChange change;
  change.Add(ProjectPart::kBeats);
  Notify(change);
}

std::vector<double> ShowProject::BeatShowSeconds() const {
  std::vector<double> out;
  const ShowSettings& s = data_.Show.Settings;
  if (!s.Beats || s.Beats->MusicFile != s.MusicFile) return out;
  for (const double beat : s.Beats->Seconds) {
    const double showTime = beat - s.MusicOffsetSeconds;
    if (showTime >= 0) out.push_back(showTime);
  }
  return out;
}

bool ShowProject::BeatsMissing() const {
  const ShowSettings& s = data_.Show.Settings;
  return !s.MusicFile.empty() && (!s.Beats || s.Beats->MusicFile != s.MusicFile);
}

void ShowProject::RememberVideoSize(int32_t width, int32_t height) {
  data_.Show.Settings.VideoWidth = width;
  data_.Show.Settings.VideoHeight = height;
}

// ---- compile and play

ShowCompileAnswer ShowProject::RequestCompile(const ShowCompileRequest& request) const {
  ShowCompileInput input;
  input.Cues = &data_.Show.Cues;
  input.Devices = &data_.Devices.Devices();
  input.Site = &data_.Show.Settings.Site;
  input.Seed = request.Seed.value_or(Seed());
  input.Scale = ShowCompileScale(data_.Show.Settings.Scale, request.BoxScale, request.Scale);
  input.Output = request.Output;
  input.Limits = request.Limits;
  input.Places = request.Places;
  return PlanShowCompile(input);
}

CompiledShowStamp ShowProject::Stamp(float scale, uint32_t seed) const {
  return {generation_, history_.StateId(), data_.Devices.Revision(), scale, seed};
}

void ShowProject::CompileStarted(const ShowCompilePlan& plan) {
  compiled_ = Stamp(plan.Scale, plan.Seed);
  compiledCues_ = data_.Show.Cues;
  for (size_t i = 0; i < compiledCues_.size(); ++i) compiledCues_[i].Line = CueFileLine(i);
  compiledRoots_ = plan.Job.Cues.value_or(std::vector<RootCue>{});
  compiledSite_ = Site();
  for (ProjectObserver* o : std::vector<ProjectObserver*>(observers_)) o->ShowCompileStarted();
}

void ShowProject::CompileEnded(bool written) {
  if (!written) compiled_.reset();
  for (ProjectObserver* o : std::vector<ProjectObserver*>(observers_)) o->ShowCompiled(written);
}

void ShowProject::CompileEnded(const CompileOutcome& outcome) {
  if (outcome.Written() && outcome.Extents.size() == compiledRoots_.size() &&
      compiledRoots_.size() == compiledCues_.size())
    lastCompiled_ = CompiledExtents{compiledCues_, compiledRoots_, outcome.Extents, compiledSite_};
  CompileEnded(outcome.Written());
  if (!outcome.Written()) return;
  if (const auto warning = CulledCuesWarning(compiledCues_, outcome.Extents, kCueFileName)) {
    for (ProjectObserver* o : std::vector<ProjectObserver*>(observers_)) o->ShowCompileWarning(*warning);
  }
}

bool ShowProject::CompiledCurrent(float boxScale) const {
  return compiled_ && *compiled_ == Stamp(ShowCompileScale(data_.Show.Settings.Scale, boxScale), Seed());
}

void ShowProject::PlaybackStarted() {
  for (ProjectObserver* o : std::vector<ProjectObserver*>(observers_)) o->PlaybackStarted();
}

void ShowProject::PlaybackEnded() {
  for (ProjectObserver* o : std::vector<ProjectObserver*>(observers_)) o->PlaybackEnded();
}

// ---- export

Result<PreparedShowExport> ShowProject::PrepareExport() const {
  if (data_.Show.Cues.empty()) return Fail("The show has no cues to export.");
  PreparedShowExport prepared;
  prepared.Seed = Seed();
  if (!folder_.empty() && !Modified()) {
    prepared.Folder = folder_;
    return prepared;
  }
  // The edits as they stand, saved where the other process reads them; the music stays put.
  auto scratch = std::make_unique<PrivateTempFolder>("orvane-export");
  if (!scratch->Made()) return Fail("The show cannot be saved for the export: " + scratch->ErrorText());
  ShowDocument copy = data_.Show;
  if (const auto music = MusicPath()) copy.Settings.MusicFile = fs::absolute(*music).string();
  if (const Result<> written = WriteFilesTogether(scratch->Path(), ShowFolderFiles(copy, data_.Devices.Devices()));
      !written)
    return Fail("The show cannot be saved for the export: " + written.Message());
  prepared.Folder = scratch->Path();
  prepared.Scratch = std::move(scratch);
  return prepared;
}

}  // namespace orvane
