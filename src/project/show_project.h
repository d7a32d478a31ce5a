#pragma once
// The show project: the one document every window and command works on. It owns the show
// folder, the device list (with its revision), the cues, the settings, the seed, the stamp
// of the compiled show and one history of every edit; it answers compile requests, prepares
// exports, resolves the music and tells its observers what changed.
//
// Without a show (ShowOpen() false) the device list is the main window's alone and compiles
// of one device go on as ever; device edits are undoable either way. Edits go through
// Execute, EditSettings, EditCues or EditDevices; project_command.h says how to add one.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/device_list.h"
#include "model/execution_state.h"
#include "model/user_dialogs.h"
#include "project/compiled_extents.h"
#include "project/firing_addresses.h"
#include "project/firing_profile.h"
#include "project/project_change.h"
#include "project/project_command.h"
#include "project/project_history.h"
#include "project/show_compile_plan.h"
#include "show/cue_table.h"
#include "show/design_summary.h"
#include "show/product_library.h"
#include "show/show_folder.h"
#include "show/show_measures.h"
#include "util/private_temp_folder.h"
#include "util/result.h"

namespace orvane {

inline constexpr const char* kUntitledShow = "Untitled";

// What the show file holds, as far as the project can tell: equal stamps, same show.
struct CompiledShowStamp {
  uint64_t Generation = 0;       // which document
  uint64_t EditState = 0;        // the history's state
  uint64_t DevicesRevision = 0;  // the device list's
  float Scale = 0;               // the motion scale it was compiled at
  uint32_t Seed = 0;
  bool operator==(const CompiledShowStamp&) const = default;
};

struct ProjectOpenReport {
  Result<> Opened;  // a refusal leaves the project as it was
  FolderLoadReport Devices;
  // The show names a music file that is not there: the show opens; the player goes without.
  bool MusicMissing = false;
};

enum class WriteEnd { kWritten, kDeclined, kFailed };

struct ProjectSaveReport {
  WriteEnd End = WriteEnd::kFailed;
  std::string Message;  // kFailed: why
  // Devices not written because an earlier device of the list has the same file name.
  std::vector<int32_t> DuplicateCodes;
};

// A show ready for a video export in another process: its folder (the saved one, or a
// temporary save of the edits, which goes with this object) and the seed.
struct PreparedShowExport {
  std::filesystem::path Folder;
  uint32_t Seed = 0;
  std::unique_ptr<PrivateTempFolder> Scratch;
};

class ShowProject {
 public:
  // `prepare` is the compiled device preparation (PrepareCompiledPart in the programs).
  explicit ShowProject(PrepareStep prepare);

  // Observers must outlive their registration.
  void AddObserver(ProjectObserver& observer);
  void RemoveObserver(ProjectObserver& observer);

  // ---- the document
  bool ShowOpen() const { return showOpen_; }
  const ShowDocument& Show() const { return data_.Show; }
  const std::vector<Cue>& Cues() const { return data_.Show.Cues; }
  const ShowSettings& Settings() const { return data_.Show.Settings; }
  const std::filesystem::path& Folder() const { return folder_; }
  // The device list; its form, working segments and selection are the main window's to
  // change directly. Changes of its records go through EditDevices.
  DeviceList& Devices() { return data_.Devices; }
  const DeviceList& Devices() const { return data_.Devices; }
  // The title, the folder's name, or kUntitledShow.
  std::string Title() const;
  // The music file (a relative name taken from the folder); nothing without music.
  std::optional<std::filesystem::path> MusicPath() const;
  uint32_t Seed() const { return data_.Show.Settings.Seed.value_or(0); }
  bool Modified() const { return showOpen_ && !history_.IsClean(); }
  uint64_t Generation() const { return generation_; }

  // Replaces the document by the show folder (device list included); the history starts
  // empty. `dialogs` shows the device load's own messages.
  ProjectOpenReport Open(const std::filesystem::path& folder, UserDialogs& dialogs);
  // An empty show with a fresh seed, keeping the device list.
  void New();
  // Back to no show: the edits are dropped, the device list stays as it is.
  void Close();
  // Writes the show into its folder (Save) or another (SaveAs, which then becomes its
  // folder). Files changed on disk since the show was opened or saved there are named in a
  // question and replaced only after a Yes.
  ProjectSaveReport Save(UserDialogs& dialogs);
  ProjectSaveReport SaveAs(const std::filesystem::path& folder, UserDialogs& dialogs);
  // Before the show's edits would be lost: asks whether to save them (a show without a
  // folder asks for one). kGoOn: saved, or nothing to save; kDiscard: the user said No.
  enum class LosingEdits { kGoOn, kDiscard, kCancel };
  LosingEdits AskToSave(UserDialogs& dialogs);
  // Asks for a folder and saves the show there; false when cancelled or not saved.
  bool SaveToChosenFolder(UserDialogs& dialogs);
  // The message a failed save shows, and the warning about duplicate codes; nothing to show
  // for a save that went well or was declined.
  static std::vector<Notice> SaveNotices(const ProjectSaveReport& report);

  // ---- edits (each one step of the history)
  void Execute(std::unique_ptr<ProjectCommand> command);
  // Nothing happens for an empty change or unchanged settings.
  void EditCues(std::string text, CueListChange change);
  void EditSettings(std::string text, ShowSettings after);
  // Runs a device-list operation (Create, Assign, Delete, a load, a preset...) and keeps it
  // as one edit when it changed the records; true when it did.
  bool EditDevices(std::string text, const std::function<void(DeviceList&)>& operation);
  // The music file (relative to the folder when inside it) and its offset; empty removes it.
  void SetMusic(const std::string& file, double offsetSeconds);
  void SetTitle(const std::string& title);
  void SetSeed(uint32_t seed);
  // The camera path: a key at its time (replacing one there; its pose as camera.csv keeps
  // it), or the key at `timeMs` taken out; false when there was none.
  void AddCameraKey(const CameraKey& key);
  bool RemoveCameraKey(int64_t timeMs);
  const std::vector<CameraKey>& CameraKeys() const { return data_.Show.CameraKeys; }
  // The field of the cue at `row` from the text, read as cues.csv reads it; the refusal
  // names the row and the file line.
  Result<> SetCueField(size_t row, CueField field, const std::string& text);
  // The same checked only: the change to make later, or the refusal.
  Result<CueListChange> CheckCueField(size_t row, CueField field, const std::string& text) const;
  // Replaces the cues by those of a CSV file, as one edit.
  Result<> ImportCues(const std::filesystem::path& file);
  // Writes the cues as CSV; an existing file is replaced after a Yes.
  ProjectSaveReport ExportCues(const std::filesystem::path& file, UserDialogs& dialogs);
  void Undo();
  void Redo();
  const ProjectHistory& History() const { return history_; }

  // Asked before a device edit replaces the show's whole device list (a preset, Load):
  // true when there is no show or the user agrees.
  bool ConfirmReplacingDevices(const std::string& what, UserDialogs& dialogs) const;
  // How many cues name a device the list does not have.
  size_t OrphanedCues() const;

  // ---- site, products and break times
  const ShowSite& Site() const { return data_.Show.Settings.Site; }
  void SetSite(ShowSite site);
  // The site position moved to (x, z) metres, its cues with it, as one edit; refused for an
  // unknown name or a place outside the show's range.
  Result<> MoveSitePosition(const std::string& name, double xM, double zM);
  const ProductTable& Products() const { return data_.Show.Products; }
  void EditProducts(std::string text, ProductTable after);
  // The figures of every device the products and cues name, each compiled alone at the
  // show's scale (or 1); measured again only for devices whose chain changed.
  const ShowMeasures& Measures() const;
  // What the cue table shows and edits with: the site, the products and measured prefires.
  // It refers to the project: use it before the next edit.
  CueTableContext TableContext() const;
  int64_t CueBreakMs(size_t row) const;
  // A column of the cue at `row` from the text; the refusal names the row and file line.
  Result<> SetCueColumn(size_t row, CueColumn column, const std::string& text);
  // The same checked only: the change to make later (EditCues), or the refusal.
  Result<CueListChange> CheckCueColumn(size_t row, CueColumn column, const std::string& text) const;
  // The cue moved so that it breaks at `breakMs` (a dragged marker, snapped or not).
  Result<> MoveCueBreak(size_t row, int64_t breakMs);
  // A product of a library shelf added to the show as one edit: its device and chain under
  // codes the show does not use, and its row naming the new code, which it returns.
  Result<int32_t> AddLibraryProduct(const LibraryShelf& shelf, int32_t code);
  DesignSummary Summary() const;
  // Devices compiled for measurement so far (tests: what the cache saved).
  size_t MeasureCompiles() const { return measureCache_.Compiles(); }

  // ---- firing scripts
  // The profile the cue table's addresses and script exports use (defaults until chosen).
  const FiringProfile& ScriptProfile() const { return scriptProfile_; }
  void SetScriptProfile(FiringProfile profile);
  // Every cue's module and pin as a script of that profile gives them.
  const AddressPlan& Addresses() const;
  // The assigned addresses kept in the cues, as one edit; false when every cue had one.
  bool WriteAddresses();
  // The file is one the show is read from (a device file, cues.csv, show.json, products.csv,
  // the music): an export must not replace it.
  bool ReadsFile(const std::filesystem::path& file) const;

  // ---- kept results
  // Beats found in the music; kept when they belong to the show's music as it is now.
  void SetBeats(ShowBeats beats);
  // The music's beats in show time (before the show's start left out); empty without.
  std::vector<double> BeatShowSeconds() const;
  // The music has no beats kept for it.
  bool BeatsMissing() const;
  void RememberVideoSize(int32_t width, int32_t height);

  // ---- compile and play
  // The scale rule, the seed and every refusal's wording.
  ShowCompileAnswer RequestCompile(const ShowCompileRequest& request) const;
  // The stage started the plan's compile into the shared show file.
  void CompileStarted(const ShowCompilePlan& plan);
  void CompileEnded(bool written);
  // The same with what the compile found: a show whose particles were culled is warned of.
  void CompileEnded(const CompileOutcome& outcome);
  // Another compile replaced the show file.
  void ShowFileReplaced() { compiled_.reset(); }
  // The measures of the last written compile of this document (kept across edits, since a
  // plan of a show being edited still shows what was last measured); nothing before one.
  const std::optional<CompiledExtents>& LastCompiled() const { return lastCompiled_; }
  // The show file holds this show as it stands, at this scale.
  bool CompiledCurrent(float boxScale) const;
  void PlaybackStarted();
  void PlaybackEnded();

  // ---- export
  Result<PreparedShowExport> PrepareExport() const;

 private:
  void Notify(const ProjectChange& change);
  void Adopt(ShowDocument show, const std::filesystem::path& folder);
  void DropStaleBeats(ProjectChange& change);
  ProjectSaveReport WriteShow(const std::filesystem::path& folder, UserDialogs& dialogs);
  CompiledShowStamp Stamp(float scale, uint32_t seed) const;

  ProjectData data_;
  std::filesystem::path folder_;
  bool showOpen_ = false;
  ProjectHistory history_;
  uint64_t generation_ = 0;
  std::optional<CompiledShowStamp> compiled_;
  // The cues of the compile running or last run, numbered as the table shows them.
  std::vector<Cue> compiledCues_;
  std::vector<RootCue> compiledRoots_;
  ShowSite compiledSite_;
  std::optional<CompiledExtents> lastCompiled_;
  // The bytes of the show's files on disk as last read or written, by name, so that a
  // save can tell a file someone else changed from one only this program changed.
  std::map<std::string, std::string> onDisk_;
  std::vector<ProjectObserver*> observers_;
  // Measurements, refreshed when the history, the devices or the document moved.
  struct MeasuresKey {
    uint64_t Generation = 0, EditState = 0, DevicesRevision = 0;
    bool operator==(const MeasuresKey&) const = default;
  };
  mutable DeviceMeasureCache measureCache_;
  mutable ShowMeasures measures_;
  mutable std::optional<MeasuresKey> measuresKey_;
  FiringProfile scriptProfile_;
  mutable AddressPlan addresses_;
  mutable std::optional<MeasuresKey> addressesKey_;
};

}  // namespace orvane
