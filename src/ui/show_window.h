#pragma once
// The show timeline window: a view of the show project. Its cues in a table and on a
// timeline strip over the music's waveform and beats, the project's one undo history, open
// and save of show folders, cue import and export, the show's compile and playback on the
// stage (the main window), and the video export. It holds no decisions of its own: edits,
// refusals and compile requests are the project's; it learns of every change as an observer.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMainWindow>

#include "export/video_export_run.h"
#include "media/music_analysis.h"
#include "model/user_dialogs.h"
#include "project/show_project.h"
#include "project/show_stage.h"
#include "show/user_settings.h"
#include "ui/timeline_strip.h"

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QScrollBar;
class QSplitter;
class QTableView;

namespace orvane {

class ProductBrowserDock;

class CueTableModel;
class ShowMusic;
class ShowVideoExport;
class SiteView;

class ShowWindow : public QMainWindow, public ProjectObserver {
  Q_OBJECT
 public:
  // Picks a file for import or export; nothing when cancelled. The program uses QFileDialog.
  using FilePicker = std::function<std::optional<std::filesystem::path>(bool save)>;

  // The project, the stage and the dialogs must outlive the window.
  ShowWindow(ShowProject& project, ShowStage& stage, UserDialogs& dialogs, QWidget* parent = nullptr);
  ~ShowWindow() override;

  // Opens the show folder (after asking about unsaved changes); false when it was not opened.
  bool OpenFolder(const std::filesystem::path& folder);
  // Saves to the show's folder, or asks for one; false when not saved.
  bool Save();
  bool SaveAs();
  void NewShow();
  // Replaces the cues by those of a CSV file; false (after its message) when refused.
  bool ImportCues(const std::filesystem::path& file);
  bool ExportCues(const std::filesystem::path& file);
  void SetMusic(const std::string& file, double offsetSeconds) { project_.SetMusic(file, offsetSeconds); }
  void SetTitle(const std::string& title) { project_.SetTitle(title); }
  // Reads the music again, finding its beats when asked.
  void AnalyseMusic(bool findBeats);

  // Cue edits on the table's selection and at the play head.
  void AddCue();
  void DeleteSelected();
  void DuplicateSelected();
  void MoveCue(size_t row, int64_t ms);
  // The cue moved so that it breaks at the time (a dragged marker); a refusal goes to the
  // status bar.
  void MoveBreak(size_t row, int64_t breakMs);
  // The refusal message, or nothing when the edit was accepted.
  std::optional<std::string> SetCueField(size_t row, CueField field, const std::string& text);
  std::optional<std::string> SetCueColumn(size_t row, CueColumn column, const std::string& text);

  // Adds a product of the library (its chain under free codes) as one edit; false when
  // nothing was added.
  bool AddLibraryProduct();
  struct LibraryChoice {
    size_t Shelf = 0;
    int32_t Code = 0;
  };
  // Picks a product among the shelves; the program asks with a list of them.
  using ProductPicker = std::function<std::optional<LibraryChoice>(const std::vector<LibraryShelf>& shelves)>;
  void SetProductPicker(ProductPicker picker) { pickProduct_ = std::move(picker); }
  // The library's folder; by default the shared data's.
  void SetLibraryFolder(const std::filesystem::path& folder) {
    libraryFolder_ = folder;
    if (browserRead_) ReadProductBrowser();
  }
  // The summary dock's text.
  QString SummaryText() const;
  // The library's products with thumbnails; it reads the library when first shown.
  ProductBrowserDock* ProductBrowser() const { return productBrowser_; }
  // The live site plan beside the timeline ("Site").
  SiteView* Site() const { return siteView_; }
  QDockWidget* SiteDock() const { return siteDock_; }
  // Where the browser keeps thumbnails (by default the user's cache); nothing: none drawn.
  void SetThumbnailCache(std::optional<std::filesystem::path> folder);
  // The rehearsal dock's count-down of the next ignitions from the play head ("Rehearsal").
  QString RehearsalText() const;
  void SetPlayHead(int64_t ms);

  // Compiles the show on the stage and plays it from the frame.
  void CompileAndPlay(uint32_t firstFrame);
  // Plays the compiled show from the frame; compiles first when the show file does not hold
  // the show as it stands.
  void Play(uint32_t firstFrame);
  // The play head follows the show being played.
  bool Following() const { return following_; }
  const ShowMusic& Music() const { return *music_; }

  const ShowDocument& Show() const { return project_.Show(); }
  const std::filesystem::path& Folder() const { return project_.Folder(); }
  ShowProject& Project() { return project_; }
  std::vector<size_t> SelectedRows() const;
  void SelectRows(const std::vector<size_t>& rows);
  int64_t PlayHeadMs() const { return content_.PlayHeadMs; }
  const TimelineContent& Content() const { return content_; }
  bool Modified() const { return project_.Modified(); }
  bool MusicBusy() const { return analyser_.Busy(); }
  double TempoBpm() const;
  QString StatusText() const;
  // The play head's time as the status bar shows it (m:ss.cc).
  QString ClockText() const;

  void SetFilePicker(FilePicker picker) { pickFile_ = std::move(picker); }

  struct VideoChoice {
    std::filesystem::path Output;
    VideoSize Size;
  };
  // Asks for the video file and its size among those offered (the remembered size first);
  // nothing when cancelled. The program uses QFileDialog, which asks before replacing a
  // file, and a list of sizes.
  using VideoChooser = std::function<std::optional<VideoChoice>(const std::vector<VideoSize>& sizes)>;
  void SetVideoChooser(VideoChooser chooser) { chooseVideo_ = std::move(chooser); }
  // orvane-cli; by default the one beside the running program.
  void SetCliProgram(const std::filesystem::path& program) { cliProgram_ = program; }
  // Exports the show (as saved, or a temporary save of its edits) with its seed, without
  // waiting for the export; false, after its message, when it did not start.
  bool ExportVideo(const VideoChoice& choice);
  ShowVideoExport* VideoExport() const { return videoExport_; }

  // Remembers the window's layout, the timeline zoom, the recent shows and the last video
  // export in `store` (which must outlive the window), and applies what it holds now.
  void UseSettings(SettingsStore& store);
  const UserSettings& Settings() const { return settings_; }
  QMenu* RecentMenu() const { return recentMenu_; }
  QSplitter* Splitter() const { return splitter_; }
  struct ScriptChoice {
    std::string Profile;  // a shipped profile's name or a profile file
    std::filesystem::path Output;
  };
  // Asks for the profile (among the shipped ones, or a file) and the script's file; nothing
  // when cancelled. The program uses a list and QFileDialog, which asks before replacing.
  using ScriptChooser = std::function<std::optional<ScriptChoice>(const std::vector<std::string>& shipped)>;
  void SetScriptChooser(ScriptChooser chooser) { chooseScript_ = std::move(chooser); }
  // Shows the script's report (assignment, rounding, or what refuses it) and writes it after
  // a Yes; then offers to keep the assigned addresses in the cues (one edit). False when no
  // script was written.
  bool ExportFiringScript(const ScriptChoice& choice);

  QTableView* Table() const { return table_; }
  TimelineStrip* Strip() const { return strip_; }
  QScrollBar* StripScroll() const { return scroll_; }
  CueTableModel* TableModel() const { return model_; }

  // Actions, by the names the tests find them under.
  QAction *NewAct = nullptr, *OpenAct = nullptr, *SaveAct = nullptr, *SaveAsAct = nullptr;
  QAction *ImportAct = nullptr, *ExportAct = nullptr, *MusicAct = nullptr, *BeatsAct = nullptr;
  QAction *CompileAct = nullptr, *PlayAct = nullptr, *PlayFromHeadAct = nullptr, *StopAct = nullptr;
  QAction *VideoAct = nullptr, *ScriptAct = nullptr, *RehearseAct = nullptr;
  QAction *UndoAct = nullptr, *RedoAct = nullptr;
  QAction *PauseAct = nullptr, *RestartAct = nullptr;  // Space and Enter while a show plays
  QAction* NightAct = nullptr;                         // the show plays in the night look
  QAction *AddCueAct = nullptr, *DeleteAct = nullptr, *DuplicateAct = nullptr, *FitAct = nullptr, *SnapAct = nullptr;
  QAction* AddProductAct = nullptr;
  QAction *TitleAct = nullptr, *SeedAct = nullptr, *KeysAct = nullptr;
  // A camera key at the play head from the display's view, and the key there taken out.
  QAction *CameraKeyAct = nullptr, *RemoveCameraKeyAct = nullptr;
  QAction *ClearRecentAct = nullptr, *CloseAct = nullptr;
  QAction* NewEffectAct = nullptr;

  // The project's reports.
  void ProjectChanged(const ProjectChange& change) override;
  void ShowCompileStarted() override;
  void ShowCompiled(bool written) override;
  void ShowCompileWarning(const std::string& text) override;
  void PlaybackStarted() override;
  void PlaybackEnded() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  class MusicListener;

  void BuildActions();
  void BuildMenus();
  // Settings: what the window shows now into settings_, settings_ into the store.
  void RememberLayout();
  void StoreSettings();
  void RememberShow(const std::filesystem::path& folder);
  void FillRecentMenu();
  void OpenRecent(const std::filesystem::path& folder);
  QString VideoFolder() const;
  void BuildWidgets();
  void LoadShowFolder(const std::filesystem::path& folder);
  void ShowDocumentAnew();
  void UpdateTitle();
  void UpdateHistoryActions();
  void UpdateBeats();
  void UpdateScrollBar();
  // Break times on the strip and the summary dock, after any change of what they show.
  void UpdateDesign();
  void MusicArrived(MusicAnalysis analysis);
  void ShowStatus(const QString& text);
  void UpdateRehearsal();
  void ChooseMusic();
  void ChooseSeed();
  void ShowError(const std::string& text);
  // The library's readable shelves; what went wrong otherwise (a shelf that does not read
  // is left out and named in `skipped`).
  Result<std::vector<LibraryShelf>> OpenLibrary(std::string& skipped) const;
  void BuildProductBrowser();
  void ReadProductBrowser();
  void ShowRefusal(const CompileRefusal& refusal);
  void FollowPlayback();
  void StartFollowing(uint32_t firstFrame);
  void StopFollowing();
  void ApplyNightLook(bool on);
  void AddCameraKey();
  void RemoveCameraKey();
  // Asks about unsaved edits before they would go; false when the user cancels.
  bool MaybeSave();

  ShowProject& project_;
  ShowStage& stage_;
  UserDialogs& dialogs_;
  TimelineContent content_;
  CueTableModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  TimelineStrip* strip_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  SettingsStore* store_ = nullptr;
  UserSettings settings_;
  QLabel* status_ = nullptr;
  QLabel* clock_ = nullptr;
  QPlainTextEdit* summary_ = nullptr;
  QPlainTextEdit* rehearsal_ = nullptr;
  QDockWidget* rehearsalDock_ = nullptr;
  SiteView* siteView_ = nullptr;
  QDockWidget* siteDock_ = nullptr;
  ProductPicker pickProduct_;
  std::filesystem::path libraryFolder_;
  ProductBrowserDock* productBrowser_ = nullptr;
  std::vector<LibraryShelf> browsedShelves_;
  std::optional<std::filesystem::path> thumbnailCache_;
  bool browserRead_ = false;
  QProgressBar* musicProgress_ = nullptr;
  FilePicker pickFile_;
  VideoChooser chooseVideo_;
  ScriptChooser chooseScript_;
  std::filesystem::path cliProgram_;
  ShowVideoExport* videoExport_ = nullptr;
  class QTimer* follow_ = nullptr;
  bool following_ = false;
  bool fitPending_ = false;
  uint32_t playStart_ = 0;
  QString compilingText_;
  std::string musicShown_;  // the music file the waveform is of, or being read from
  QString lastRefusal_;
  ShowMusic* music_ = nullptr;
  std::unique_ptr<MusicListener> musicListener_;
  MusicAnalyser analyser_;  // joined before the listener goes
};

}  // namespace orvane
