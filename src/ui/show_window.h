#pragma once
// The show timeline window: a show folder's cues in a table and on a timeline strip over
// the music's waveform and beats, with undo for every edit, open and save of show
// folders, cue import and export, and the show's compile and playback. Works on the main
// window's device list; every message goes through UserDialogs.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMainWindow>

#include "media/music_analysis.h"
#include "model/user_dialogs.h"
#include "show/compiled_show_stamp.h"
#include "show/cue_edit.h"
#include "show/show_folder.h"
#include "show/video_export_run.h"
#include "ui/timeline_strip.h"

class QAction;
class QLabel;
class QProgressBar;
class QTableView;
class QUndoStack;

namespace orvane {

class CueTableModel;
class ShowMusic;
class ShowVideoExport;
class MainForm;
struct CompileOutcome;

class ShowWindow : public QMainWindow {
  Q_OBJECT
 public:
  // Picks a file for import or export; nothing when cancelled. The program uses QFileDialog.
  using FilePicker = std::function<std::optional<std::filesystem::path>(bool save)>;

  ShowWindow(MainForm& main, UserDialogs& dialogs, QWidget* parent = nullptr);
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
  // Sets (empty file: removes) the music and its offset as one undoable edit.
  void SetMusic(const std::string& file, double offsetSeconds);
  void SetTitle(const std::string& title);
  // Reads the music again, finding its beats when asked.
  void AnalyseMusic(bool findBeats);

  // Cue edits on the table's selection and at the play head.
  void AddCue();
  void DeleteSelected();
  void DuplicateSelected();
  void MoveCue(size_t row, int64_t ms);
  // The refusal message, or nothing when the edit was accepted.
  std::optional<std::string> SetCueField(size_t row, CueField field, const std::string& text);
  void SetPlayHead(int64_t ms);

  // Compiles the show on the main window's compile thread and plays it from the frame.
  void CompileAndPlay(uint32_t firstFrame);
  // Plays the compiled show from the frame; compiles first when the cues, the devices or the
  // scale changed since, or another compile has replaced the show file.
  void Play(uint32_t firstFrame);
  // The play head follows the show being played.
  bool Following() const { return following_; }
  const ShowMusic& Music() const { return *music_; }

  // Asks to save unsaved changes; false when the user cancels.
  bool MaybeSave();
  // The device list changed in the main window.
  void DevicesChanged();
  // A compile of this show has written its file: warns of cues whose particles were culled.
  void CompileEnded(const CompileOutcome& outcome);

  const ShowDocument& Show() const { return show_; }
  const std::filesystem::path& Folder() const { return folder_; }
  std::vector<size_t> SelectedRows() const;
  void SelectRows(const std::vector<size_t>& rows);
  int64_t PlayHeadMs() const { return content_.PlayHeadMs; }
  const TimelineContent& Content() const { return content_; }
  bool Modified() const;
  bool MusicBusy() const { return analyser_.Busy(); }
  double TempoBpm() const { return tempoBpm_; }
  QString StatusText() const;

  void SetFilePicker(FilePicker picker) { pickFile_ = std::move(picker); }

  struct VideoChoice {
    std::filesystem::path Output;
    VideoSize Size;
  };
  // Asks for the video file and its size among those offered; nothing when cancelled. The
  // program uses QFileDialog, which asks before replacing a file, and a list of sizes.
  using VideoChooser = std::function<std::optional<VideoChoice>(const std::vector<VideoSize>& sizes)>;
  void SetVideoChooser(VideoChooser chooser) { chooseVideo_ = std::move(chooser); }
  // orvane-cli; by default the one beside the running program.
  void SetCliProgram(const std::filesystem::path& program) { cliProgram_ = program; }
  // Exports the show (as saved, or a temporary save of its edits) without waiting for the
  // export; false, after its message, when it did not start.
  bool ExportVideo(const VideoChoice& choice);
  ShowVideoExport* VideoExport() const { return videoExport_; }

  QUndoStack* Undo() const { return undo_; }
  QTableView* Table() const { return table_; }
  TimelineStrip* Strip() const { return strip_; }
  CueTableModel* TableModel() const { return model_; }

  // Actions, by the names the tests find them under.
  QAction *NewAct = nullptr, *OpenAct = nullptr, *SaveAct = nullptr, *SaveAsAct = nullptr;
  QAction *ImportAct = nullptr, *ExportAct = nullptr, *MusicAct = nullptr, *BeatsAct = nullptr;
  QAction *CompileAct = nullptr, *PlayAct = nullptr, *PlayFromHeadAct = nullptr, *StopAct = nullptr;
  QAction* VideoAct = nullptr;
  QAction *UndoAct = nullptr, *RedoAct = nullptr;
  QAction *PauseAct = nullptr, *RestartAct = nullptr;  // Space and Enter while a show plays
  QAction *AddCueAct = nullptr, *DeleteAct = nullptr, *DuplicateAct = nullptr, *FitAct = nullptr, *SnapAct = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  class MusicListener;

  void BuildActions();
  bool LoadShowFolder(const std::filesystem::path& folder);
  void BuildWidgets();
  void ApplyCueChange(const CueListChange& change, bool forward);
  void PushCueChange(const QString& text, CueListChange change);
  void ApplySettings(const ShowSettings& settings);
  void AdoptShow(ShowDocument show, const std::filesystem::path& folder);
  void UpdateTitle();
  void UpdateBeats();
  void MusicArrived(MusicAnalysis analysis);
  void ShowStatus(const QString& text);
  void ChooseMusic();
  std::optional<int32_t> SelectedDeviceCode() const;
  void ShowError(const std::string& text);
  void FollowPlayback();
  void StartFollowing(uint32_t firstFrame);
  // What the show file would hold if this show compiled now.
  CompiledShowStamp Stamp() const;

  MainForm& main_;
  UserDialogs& dialogs_;
  ShowDocument show_;
  // The cues of the compile running or last run, for what its outcome says of them.
  std::vector<Cue> compiledCues_;
  std::filesystem::path folder_;
  TimelineContent content_;
  std::vector<double> musicBeats_;  // music time
  double tempoBpm_ = 0;
  QUndoStack* undo_ = nullptr;
  CueTableModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  TimelineStrip* strip_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* musicProgress_ = nullptr;
  FilePicker pickFile_;
  VideoChooser chooseVideo_;
  std::filesystem::path cliProgram_;
  ShowVideoExport* videoExport_ = nullptr;
  class QTimer* follow_ = nullptr;
  bool following_ = false;
  uint32_t playStart_ = 0;
  bool sawPlaying_ = false;
  int idleTicks_ = 0;
  ShowMusic* music_ = nullptr;
  CompiledShowStamp compiled_;  // what the show file held when this show compiled last
  std::unique_ptr<MusicListener> musicListener_;
  MusicAnalyser analyser_;  // joined before the listener goes
};

}  // namespace orvane
