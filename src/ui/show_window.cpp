#include "ui/show_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

#include "compiler/compile_messages.h"
#include "compiler/show_record.h"
#include "model/integer_text.h"
#include "show/cue_list.h"
#include "show/show_root_cues.h"
#include "show/staged_files.h"
#include "ui/cue_table_model.h"
#include "ui/main_form.h"
#include "ui/show_commands.h"
#include "ui/show_music.h"
#include "ui/show_video_export.h"

namespace orvane {
namespace {

constexpr const char* kUntitled = "Untitled";
constexpr int kFollowMs = 40;  // one show frame
constexpr int kIdleTicksBeforeEnd = 3;

// The code column edits in a box listing the codes of the device list.
class CodeDelegate : public QStyledItemDelegate {
 public:
  CodeDelegate(const DeviceList& list, QObject* parent) : QStyledItemDelegate(parent), list_(list) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    for (const DeviceListItem& item : list_.Items()) box->addItem(QString::fromStdString(item.Caption));
    return box;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    static_cast<QComboBox*>(editor)->setEditText(index.data(Qt::EditRole).toString());
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
  }

 private:
  const DeviceList& list_;
};

bool IsWithin(const std::filesystem::path& file, const std::filesystem::path& folder) {
  if (folder.empty()) return false;
  const auto rel = file.lexically_normal().lexically_relative(folder.lexically_normal());
  return !rel.empty() && *rel.begin() != "..";
}

}  // namespace

// The analysis thread's reports, queued to the window's thread; dropped once it is gone.
class ShowWindow::MusicListener : public MusicAnalysisListener {
 public:
  explicit MusicListener(ShowWindow& window) : window_(window) {}
  void MusicProgress(double fraction) override {
    QMetaObject::invokeMethod(
        &window_, [w = &window_, fraction] { w->musicProgress_->setValue(static_cast<int>(fraction * 100)); },
        Qt::QueuedConnection);
  }
  void MusicAnalysed(MusicAnalysis analysis) override {
    auto shared = std::make_shared<MusicAnalysis>(std::move(analysis));
    QMetaObject::invokeMethod(
        &window_, [w = &window_, shared] { w->MusicArrived(std::move(*shared)); }, Qt::QueuedConnection);
  }

 private:
  ShowWindow& window_;
};

ShowWindow::ShowWindow(MainForm& main, UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), main_(main), dialogs_(dialogs) {
  setObjectName(QStringLiteral("ShowWindow"));
  content_.Cues = &show_.Cues;
  content_.Devices = &main_.Devices().Devices();
  undo_ = new QUndoStack(this);
  musicListener_ = std::make_unique<MusicListener>(*this);
  pickFile_ = [this](bool save) -> std::optional<std::filesystem::path> {
    const QString filter = QStringLiteral("Cue lists (*.csv);;All files (*)");
    const QString name = save ? QFileDialog::getSaveFileName(this, QStringLiteral("Export cues"), {}, filter, nullptr,
                                                             QFileDialog::DontConfirmOverwrite)
                              : QFileDialog::getOpenFileName(this, QStringLiteral("Import cues"), {}, filter);
    if (name.isEmpty()) return std::nullopt;
    return std::filesystem::path(name.toStdString());
  };
  chooseVideo_ = [this](const std::vector<VideoSize>& sizes) -> std::optional<VideoChoice> {
    const QString name =
        QFileDialog::getSaveFileName(this, QStringLiteral("Export video"), {}, QStringLiteral("MP4 videos (*.mp4)"));
    if (name.isEmpty()) return std::nullopt;
    QStringList items;
    for (const VideoSize& size : sizes) items << QStringLiteral("%1 x %2").arg(size.Width).arg(size.Height);
    bool ok = false;
    const QString item =
        QInputDialog::getItem(this, QStringLiteral("Export video"), QStringLiteral("Size:"), items, 0, false, &ok);
    if (!ok) return std::nullopt;
    return VideoChoice{name.toStdString(), sizes[static_cast<size_t>(std::max<qsizetype>(0, items.indexOf(item)))]};
  };
  cliProgram_ = std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / kCliProgramName;
  videoExport_ = new ShowVideoExport(this, dialogs_);
  connect(videoExport_, &ShowVideoExport::Finished, this,
          [this](VideoExportEnd, const QString& message) { ShowStatus(message.section(QLatin1Char('\n'), 0, 0)); });
  BuildWidgets();
  BuildActions();
  connect(undo_, &QUndoStack::cleanChanged, this, &ShowWindow::UpdateTitle);
  follow_ = new QTimer(this);
  follow_->setInterval(kFollowMs);
  connect(follow_, &QTimer::timeout, this, &ShowWindow::FollowPlayback);
  music_ = new ShowMusic(this);
  connect(music_, &ShowMusic::Silent, this, &ShowWindow::ShowStatus);
  resize(900, 560);
  UpdateTitle();
}

ShowWindow::~ShowWindow() { analyser_.RequestStop(); }

void ShowWindow::BuildWidgets() {
  model_ = new CueTableModel(
      show_.Cues, main_.Devices().Devices(),
      [this](size_t row, CueField field, const std::string& text) -> std::optional<std::string> {
        // Checked now; applied once the table has closed its editor.
        CueFieldEdit edit = SetCueFieldChange(show_.Cues, row, field, text, &main_.Devices().Devices());
        if (edit.Error) {
          ShowStatus(QString::fromStdString(*edit.Error));
          return edit.Error;
        }
        if (!edit.Change.Empty()) {
          auto change = std::make_shared<CueListChange>(std::move(edit.Change));
          QMetaObject::invokeMethod(
              this, [this, change] { PushCueChange(QStringLiteral("Edit cue"), std::move(*change)); },
              Qt::QueuedConnection);
        }
        return std::nullopt;
      },
      this);
  table_ = new QTableView;
  table_->setObjectName(QStringLiteral("CueTable"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
  table_->setItemDelegateForColumn(static_cast<int>(CueField::Code), new CodeDelegate(main_.Devices(), table_));
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->setDefaultSectionSize(20);

  strip_ = new TimelineStrip(content_, *table_->selectionModel());
  connect(strip_, &TimelineStrip::PlayHeadClicked, this, &ShowWindow::SetPlayHead);
  connect(strip_, &TimelineStrip::CueDragged, this, &ShowWindow::MoveCue);

  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(strip_);
  splitter->addWidget(table_);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 2);
  setCentralWidget(splitter);

  status_ = new QLabel;
  status_->setObjectName(QStringLiteral("ShowStatus"));
  musicProgress_ = new QProgressBar;
  musicProgress_->setRange(0, 100);
  musicProgress_->setMaximumWidth(120);
  musicProgress_->setTextVisible(false);
  musicProgress_->hide();
  statusBar()->addWidget(status_, 1);
  statusBar()->addPermanentWidget(musicProgress_);
}

void ShowWindow::BuildActions() {
  auto* bar = addToolBar(QStringLiteral("Show"));
  bar->setObjectName(QStringLiteral("ShowToolBar"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  const auto make = [this, &bar](QAction*& slot, const char* name, const QString& text, const QKeySequence& key,
                                 auto handler) {
    slot = new QAction(text, this);
    slot->setObjectName(QString::fromLatin1(name));
    slot->setShortcut(key);
    slot->setShortcutContext(Qt::WindowShortcut);
    connect(slot, &QAction::triggered, this, handler);
    if (bar != nullptr) {
      bar->addAction(slot);
    } else {
      addAction(slot);
    }
  };
  make(NewAct, "NewAct", QStringLiteral("New"), QKeySequence::New, [this] { NewShow(); });
  make(OpenAct, "OpenAct", QStringLiteral("Open"), QKeySequence::Open, [this] {
    if (!MaybeSave()) return;
    const std::string start = folder_.empty() ? main_.Devices().DeviceFolder() : folder_.parent_path().string();
    if (auto chosen = dialogs_.PickFolder("Select the show folder", start)) LoadShowFolder(*chosen);
  });
  make(SaveAct, "SaveAct", QStringLiteral("Save"), QKeySequence::Save, [this] { Save(); });
  make(SaveAsAct, "SaveAsAct", QStringLiteral("Save As"), QKeySequence(QStringLiteral("Ctrl+Shift+S")),
       [this] { SaveAs(); });
  bar->addSeparator();
  make(ImportAct, "ImportAct", QStringLiteral("Import cues"), QKeySequence(QStringLiteral("Ctrl+I")), [this] {
    if (auto file = pickFile_(false)) ImportCues(*file);
  });
  make(ExportAct, "ExportAct", QStringLiteral("Export cues"), QKeySequence(QStringLiteral("Ctrl+E")), [this] {
    if (auto file = pickFile_(true)) ExportCues(*file);
  });
  make(MusicAct, "MusicAct", QStringLiteral("Music..."), QKeySequence(QStringLiteral("Ctrl+M")),
       [this] { ChooseMusic(); });
  make(BeatsAct, "BeatsAct", QStringLiteral("Detect beats"), QKeySequence(QStringLiteral("Ctrl+B")),
       [this] { AnalyseMusic(true); });
  addToolBarBreak();
  bar = addToolBar(QStringLiteral("Play"));
  bar->setObjectName(QStringLiteral("PlayToolBar"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  make(CompileAct, "CompileAct", QStringLiteral("Compile show"), QKeySequence(Qt::Key_F9),
       [this] { CompileAndPlay(0); });
  make(VideoAct, "VideoAct", QStringLiteral("Export video..."), QKeySequence(QStringLiteral("Ctrl+Shift+E")), [this] {
    QSize panel(1280, 720);
    if (const auto* display = dynamic_cast<const QWidget*>(main_.Display())) panel = display->size();
    if (auto choice = chooseVideo_(VideoExportSizes(panel.width(), panel.height()))) ExportVideo(*choice);
  });
  make(PlayAct, "PlayAct", QStringLiteral("Play"), QKeySequence(Qt::Key_F5), [this] { Play(0); });
  make(PlayFromHeadAct, "PlayFromHeadAct", QStringLiteral("Play from the play head"),
       QKeySequence(QStringLiteral("Ctrl+F5")), [this] { Play(CueFrame(content_.PlayHeadMs)); });
  make(StopAct, "StopAct", QStringLiteral("Stop"), QKeySequence(QStringLiteral("Shift+F5")),
       [this] { main_.StopPlayback(); });
  // Only while a show plays, so typing in the table keeps its keys; no buttons.
  bar = nullptr;
  make(PauseAct, "PauseAct", QStringLiteral("Pause"), QKeySequence(Qt::Key_Space), [this] {
    if (DisplayPort* display = main_.Display()) display->TogglePlaybackPause();
  });
  make(RestartAct, "RestartAct", QStringLiteral("Restart"), QKeySequence(Qt::Key_Return), [this] {
    main_.StopPlayback();
    music_->Stop();
    Play(playStart_);
  });
  PauseAct->setEnabled(false);
  RestartAct->setEnabled(false);
  addToolBarBreak();
  bar = addToolBar(QStringLiteral("Edit"));
  bar->setObjectName(QStringLiteral("EditToolBar"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  UndoAct = undo_->createUndoAction(this, QStringLiteral("Undo"));
  UndoAct->setObjectName(QStringLiteral("UndoAct"));
  UndoAct->setShortcut(QKeySequence::Undo);
  RedoAct = undo_->createRedoAction(this, QStringLiteral("Redo"));
  RedoAct->setObjectName(QStringLiteral("RedoAct"));
  RedoAct->setShortcut(QKeySequence::Redo);
  bar->addAction(UndoAct);
  bar->addAction(RedoAct);
  bar->addSeparator();
  make(AddCueAct, "AddCueAct", QStringLiteral("Add cue"), QKeySequence(Qt::Key_Insert), [this] { AddCue(); });
  make(DeleteAct, "DeleteAct", QStringLiteral("Delete"), QKeySequence::Delete, [this] { DeleteSelected(); });
  make(DuplicateAct, "DuplicateAct", QStringLiteral("Duplicate"), QKeySequence(QStringLiteral("Ctrl+D")),
       [this] { DuplicateSelected(); });
  make(FitAct, "FitAct", QStringLiteral("Fit"), QKeySequence(QStringLiteral("Ctrl+0")), [this] { strip_->FitShow(); });
  make(SnapAct, "SnapAct", QStringLiteral("Snap to beats"), QKeySequence(QStringLiteral("Ctrl+K")),
       [this](bool on) { content_.SnapToBeats = on; });
  SnapAct->setCheckable(true);
  SnapAct->setChecked(content_.SnapToBeats);
  QAction* titleAct = nullptr;
  make(titleAct, "TitleAct", QStringLiteral("Title..."), QKeySequence(), [this] {
    if (auto title = dialogs_.InputText("Show title", "Title of the show:", show_.Settings.Title)) SetTitle(*title);
  });
}

bool ShowWindow::Modified() const { return !undo_->isClean(); }

QString ShowWindow::StatusText() const { return status_->text(); }

void ShowWindow::ShowStatus(const QString& text) { status_->setText(text); }

void ShowWindow::ShowError(const std::string& text) { dialogs_.Message(DialogKind::Error, DialogButtons::Ok, text); }

void ShowWindow::UpdateTitle() {
  std::string title = ShowTitle(show_.Settings, folder_);
  if (title.empty()) title = kUntitled;
  setWindowTitle(QStringLiteral("Show timeline - ") + QString::fromStdString(title) +
                 (Modified() ? QStringLiteral("*") : QString()));
}

// ---- documents

void ShowWindow::AdoptShow(ShowDocument show, const std::filesystem::path& folder) {
  analyser_.RequestStop();
  show_ = std::move(show);
  SortCuesByTime(show_.Cues);
  folder_ = folder;
  undo_->clear();
  content_.Envelope.reset();
  content_.MusicOffsetSeconds = show_.Settings.MusicOffsetSeconds;
  content_.PlayHeadMs = 0;
  musicBeats_.clear();
  tempoBpm_ = 0;
  UpdateBeats();
  model_->Reload();
  strip_->FitShow();
  UpdateTitle();
  if (!show_.Settings.MusicFile.empty()) AnalyseMusic(false);
}

void ShowWindow::NewShow() {
  if (!MaybeSave()) return;
  AdoptShow({}, {});
  ShowStatus({});
}

bool ShowWindow::OpenFolder(const std::filesystem::path& folder) { return MaybeSave() && LoadShowFolder(folder); }

bool ShowWindow::LoadShowFolder(const std::filesystem::path& folder) {
  ShowDocument opened;
  const ShowOpenReport report = OpenShowFolder(folder, main_.Devices(), dialogs_, opened);
  main_.DevicesReloaded();
  if (report.Error) {
    ShowError(*report.Error);
    DevicesChanged();
    return false;
  }
  AdoptShow(std::move(opened), folder);
  ShowStatus(report.MusicMissing ? QStringLiteral("The music file is missing: the show plays without music.")
                                 : QStringLiteral("%1 cues.").arg(show_.Cues.size()));
  return true;
}

bool ShowWindow::Save() {
  if (folder_.empty()) return SaveAs();
  const ShowSaveReport report = SaveShowFolder(folder_, show_, main_.Devices().Devices(), dialogs_);
  if (report.Error) ShowError(*report.Error);
  if (!report.Saved) return false;
  undo_->setClean();
  UpdateTitle();
  ShowStatus(QStringLiteral("Saved in %1.").arg(QString::fromStdString(folder_.string())));
  return true;
}

bool ShowWindow::SaveAs() {
  const std::string start = folder_.empty() ? main_.Devices().DeviceFolder() : folder_.string();
  const std::optional<std::string> chosen = dialogs_.PickFolder("Select the folder to save the show in", start);
  if (!chosen) return false;
  const std::filesystem::path previous = folder_;
  const ShowSettings settings = show_.Settings;
  // A music file named relative to the old folder keeps pointing at the same file.
  if (auto music = ShowMusicPath(show_.Settings, folder_)) show_.Settings.MusicFile = music->string();
  folder_ = *chosen;
  if (Save()) return true;
  folder_ = previous;
  show_.Settings = settings;
  return false;
}

bool ShowWindow::MaybeSave() {
  if (!Modified()) return true;
  std::string title = ShowTitle(show_.Settings, folder_);
  if (title.empty()) title = kUntitled;
  switch (dialogs_.Message(DialogKind::Confirmation, DialogButtons::YesNoCancel,
                           "The show \"" + title + "\" has unsaved changes. Do you wish to save them?")) {
    case DialogAnswer::Yes: return Save();
    case DialogAnswer::No: return true;
    default: return false;
  }
}

void ShowWindow::closeEvent(QCloseEvent* event) {
  if (MaybeSave()) {
    // The changes were saved or given up: the window keeps the show as saved.
    event->accept();
  } else {
    event->ignore();
  }
}

bool ShowWindow::ImportCues(const std::filesystem::path& file) {
  std::string bytes;
  if (auto error = ReadSmallFile(file, kMaxCueFileBytes, bytes)) {
    ShowError(*error);
    return false;
  }
  CueListRead read = ReadCueList(bytes, file.filename().string(), &main_.Devices().Devices());
  if (read.Error) {
    ShowError(*read.Error);
    return false;
  }
  std::vector<size_t> all(show_.Cues.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  PushCueChange(QStringLiteral("Import cues"), MakeChange(show_.Cues, std::move(all), std::move(read.Cues)));
  strip_->FitShow();
  ShowStatus(QStringLiteral("%1 cues imported.").arg(show_.Cues.size()));
  return true;
}

bool ShowWindow::ExportCues(const std::filesystem::path& file) {
  std::error_code error;
  if (std::filesystem::exists(file, error) &&
      dialogs_.Message(DialogKind::Confirmation, DialogButtons::YesNo,
                       "The file " + file.filename().string() + " already exists, do you wish to replace it?") !=
          DialogAnswer::Yes)
    return false;
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  if (auto failure = WriteFilesTogether(folder, {{file.filename().string(), CueListText(show_.Cues)}})) {
    ShowError(*failure);
    return false;
  }
  ShowStatus(QStringLiteral("%1 cues exported.").arg(show_.Cues.size()));
  return true;
}

// ---- settings

void ShowWindow::SetMusic(const std::string& file, double offsetSeconds) {
  ShowSettings after = show_.Settings;
  std::filesystem::path path(file);
  after.MusicFile = IsWithin(path, folder_) ? path.lexically_normal().lexically_relative(folder_).string() : file;
  after.MusicOffsetSeconds = file.empty() ? 0.0 : offsetSeconds;
  if (after == show_.Settings) return;
  undo_->push(new ShowSettingsCommand(QStringLiteral("Music"), show_.Settings, after,
                                      [this](const ShowSettings& s) { ApplySettings(s); }));
}

void ShowWindow::SetTitle(const std::string& title) {
  ShowSettings after = show_.Settings;
  after.Title = title;
  if (after == show_.Settings) return;
  undo_->push(new ShowSettingsCommand(QStringLiteral("Title"), show_.Settings, after,
                                      [this](const ShowSettings& s) { ApplySettings(s); }));
}

void ShowWindow::ApplySettings(const ShowSettings& settings) {
  const bool musicChanged = settings.MusicFile != show_.Settings.MusicFile;
  show_.Settings = settings;
  content_.MusicOffsetSeconds = settings.MusicOffsetSeconds;
  if (musicChanged) {
    analyser_.RequestStop();
    content_.Envelope.reset();
    musicBeats_.clear();
    tempoBpm_ = 0;
    if (!settings.MusicFile.empty()) AnalyseMusic(false);
  }
  UpdateBeats();
  UpdateTitle();
  strip_->update();
}

void ShowWindow::ChooseMusic() {
  QDialog box(this);
  box.setObjectName(QStringLiteral("MusicDialog"));
  box.setWindowTitle(QStringLiteral("Music"));
  auto* file = new QLineEdit(QString::fromStdString(show_.Settings.MusicFile));
  file->setObjectName(QStringLiteral("MusicFileEdit"));
  auto* browse = new QPushButton(QStringLiteral("Browse..."));
  auto* remove = new QPushButton(QStringLiteral("Remove"));
  auto* offset = new QDoubleSpinBox;
  offset->setObjectName(QStringLiteral("MusicOffsetBox"));
  offset->setRange(-3600, 3600);
  offset->setDecimals(3);
  offset->setSuffix(QStringLiteral(" s"));
  offset->setValue(show_.Settings.MusicOffsetSeconds);
  auto* row = new QHBoxLayout;
  row->addWidget(file, 1);
  row->addWidget(browse);
  row->addWidget(remove);
  auto* form = new QFormLayout(&box);
  form->addRow(QStringLiteral("Music file"), row);
  form->addRow(QStringLiteral("Music time at show start"), offset);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
  connect(remove, &QPushButton::clicked, file, &QLineEdit::clear);
  connect(browse, &QPushButton::clicked, &box, [&box, file] {
    const QString name = QFileDialog::getOpenFileName(
        &box, QStringLiteral("Music file"), file->text(),
        QStringLiteral("Music (*.wav *.flac *.ogg *.oga *.mp3 *.m4a *.opus);;All files (*)"));
    if (!name.isEmpty()) file->setText(name);
  });
  if (box.exec() != QDialog::Accepted) return;
  std::string chosen = file->text().trimmed().toStdString();
  // A name typed relative to the show folder stays relative.
  if (!chosen.empty() && std::filesystem::path(chosen).is_relative() && !folder_.empty())
    chosen = (folder_ / chosen).string();
  SetMusic(chosen, offset->value());
}

// ---- music

void ShowWindow::AnalyseMusic(bool findBeats) {
  const std::optional<std::filesystem::path> file = ShowMusicPath(show_.Settings, folder_);
  if (!file) {
    if (findBeats) ShowStatus(QStringLiteral("The show has no music: choose it with Music..."));
    return;
  }
  if (analyser_.Busy()) {
    // The running job reports Stopped first; the request comes again after it.
    analyser_.RequestStop();
    QMetaObject::invokeMethod(
        this,
        [this, findBeats] {
          if (analyser_.Busy()) {
            QMetaObject::invokeMethod(
                this, [this, findBeats] { AnalyseMusic(findBeats); }, Qt::QueuedConnection);
            return;
          }
          AnalyseMusic(findBeats);
        },
        Qt::QueuedConnection);
    return;
  }
  musicProgress_->setValue(0);
  musicProgress_->show();
  ShowStatus(findBeats ? QStringLiteral("Finding the beats...") : QStringLiteral("Reading the music..."));
  analyser_.Start({*file, findBeats}, *musicListener_);
}

void ShowWindow::MusicArrived(MusicAnalysis analysis) {
  analyser_.Finished();
  musicProgress_->hide();
  if (analysis.Status == AudioDecodeStatus::Stopped) return;
  // A report about a file the show no longer uses is old news.
  const std::optional<std::filesystem::path> file = ShowMusicPath(show_.Settings, folder_);
  if (!file || *file != analysis.File) return;
  if (!analysis.Ok()) {
    content_.Envelope.reset();
    ShowStatus(QString::fromStdString(analysis.Message));
    strip_->update();
    return;
  }
  content_.Envelope = analysis.Envelope;
  if (!analysis.Beats.BeatSeconds.empty() || analysis.Beats.TempoBpm > 0) {
    musicBeats_ = analysis.Beats.BeatSeconds;
    tempoBpm_ = analysis.Beats.TempoBpm;
    ShowStatus(QStringLiteral("%1 beats, tempo %2 bpm.").arg(musicBeats_.size()).arg(tempoBpm_, 0, 'f', 1));
  } else if (!analysis.Beats.Ok()) {
    ShowStatus(QString::fromStdString(analysis.Beats.Message));
  } else {
    ShowStatus(QStringLiteral("Music: %1 s.").arg(analysis.Envelope->DurationSeconds(), 0, 'f', 2));
  }
  UpdateBeats();
  if (show_.Cues.empty()) strip_->FitShow();
  strip_->update();
}

void ShowWindow::UpdateBeats() {
  content_.BeatSeconds.clear();
  for (double beat : musicBeats_) {
    const double showTime = beat - show_.Settings.MusicOffsetSeconds;
    if (showTime >= 0) content_.BeatSeconds.push_back(showTime);
  }
}

// ---- cue edits

void ShowWindow::PushCueChange(const QString& text, CueListChange change) {
  if (change.Empty()) return;
  undo_->push(new CueListCommand(text, std::move(change),
                                 [this](const CueListChange& c, bool forward) { ApplyCueChange(c, forward); }));
}

void ShowWindow::ApplyCueChange(const CueListChange& change, bool forward) {
  if (forward) {
    ApplyChange(show_.Cues, change);
  } else {
    RevertChange(show_.Cues, change);
  }
  model_->Reload();
  std::vector<size_t> rows;
  for (const PlacedCue& placed : forward ? change.Added : change.Removed) rows.push_back(placed.Index);
  SelectRows(rows);
  strip_->update();
  UpdateTitle();
}

std::vector<size_t> ShowWindow::SelectedRows() const {
  std::vector<size_t> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void ShowWindow::SelectRows(const std::vector<size_t>& rows) {
  QItemSelection selection;
  for (size_t row : rows) {
    if (row >= show_.Cues.size()) continue;
    const int r = static_cast<int>(row);
    selection.select(model_->index(r, 0), model_->index(r, kCueFieldCount - 1));
  }
  table_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  if (!rows.empty() && rows.front() < show_.Cues.size())
    table_->scrollTo(model_->index(static_cast<int>(rows.front()), 0));
}

std::optional<int32_t> ShowWindow::SelectedDeviceCode() const {
  const DeviceList& list = main_.Devices();
  const auto selected = list.Selection();
  if (!selected || *selected >= list.Items().size()) return std::nullopt;
  return ParseInteger(list.Items()[*selected].Caption);
}

void ShowWindow::AddCue() {
  const std::optional<int32_t> code = SelectedDeviceCode();
  if (!code) {
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok,
                     "Select in the main window's list the device the new cue fires.");
    return;
  }
  Cue cue;
  cue.TimeMs = content_.PlayHeadMs;
  cue.Code = *code;
  PushCueChange(QStringLiteral("Add cue"), AddCueChange(show_.Cues, std::move(cue)));
}

void ShowWindow::DeleteSelected() {
  PushCueChange(QStringLiteral("Delete cues"), DeleteCuesChange(show_.Cues, SelectedRows()));
}

void ShowWindow::DuplicateSelected() {
  PushCueChange(QStringLiteral("Duplicate cues"), DuplicateCuesChange(show_.Cues, SelectedRows()));
}

void ShowWindow::MoveCue(size_t row, int64_t ms) {
  PushCueChange(QStringLiteral("Move cue"), MoveCueChange(show_.Cues, row, ms));
}

std::optional<std::string> ShowWindow::SetCueField(size_t row, CueField field, const std::string& text) {
  CueFieldEdit edit = SetCueFieldChange(show_.Cues, row, field, text, &main_.Devices().Devices());
  if (edit.Error) {
    ShowStatus(QString::fromStdString(*edit.Error));
    return edit.Error;
  }
  PushCueChange(QStringLiteral("Edit cue"), std::move(edit.Change));
  return std::nullopt;
}

void ShowWindow::SetPlayHead(int64_t ms) {
  content_.PlayHeadMs = std::clamp<int64_t>(ms, 0, kMaxCueTimeMs);
  strip_->update();
}

// ---- compile and playback

void ShowWindow::CompileAndPlay(uint32_t firstFrame) {
  const DeviceRecords& devices = main_.Devices().Devices();
  if (show_.Cues.empty()) {
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok, "The show has no cues to compile.");
    return;
  }
  ShowRoots roots = ShowRootCues(show_.Cues, devices);
  if (roots.MissingDevice) {
    const size_t i = *roots.MissingDevice;
    SelectRows({i});
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok,
                     std::string(kCueFileName) + " line " + std::to_string(CueFileLine(i)) + ": no device has code " +
                         std::to_string(show_.Cues[i].Code) + ".");
    return;
  }
  size_t failed = 0;
  switch (main_.CompileShow(std::move(roots.Cues), show_.Settings.Scale, firstFrame, &failed)) {
    case CompileController::StartResult::kStarted:
      compiled_ = Stamp();
      compiledCues_ = show_.Cues;
      // Named by the lines the table and a saved cues.csv give them.
      for (size_t i = 0; i < compiledCues_.size(); ++i) compiledCues_[i].Line = CueFileLine(i);
      ShowStatus(QStringLiteral("Compiling the show..."));
      StartFollowing(firstFrame);
      return;
    case CompileController::StartResult::kBusy: ShowStatus(QStringLiteral("A compile or a show is running.")); return;
    case CompileController::StartResult::kNoDevice:
      SelectRows({failed});
      dialogs_.Message(DialogKind::Information, DialogButtons::Ok,
                       failed < show_.Cues.size() ? NoDeviceMessage(show_.Cues[failed].Code) : "");
      return;
    case CompileController::StartResult::kRecursive:
      SelectRows({failed});
      dialogs_.Message(DialogKind::Information, DialogButtons::Ok,
                       std::string(kRecursivityRefusal) + " (" + kCueFileName + " line " +
                           std::to_string(CueFileLine(failed)) + ")");
      return;
  }
}

CompiledShowStamp ShowWindow::Stamp() const {
  return {undo_->index(), main_.Devices().Revision(), show_.Settings.Scale.value_or(main_.Scale().load()),
          main_.CompileNumber()};
}

void ShowWindow::Play(uint32_t firstFrame) {
  const bool current = compiled_ == Stamp();
  if (!current || !main_.PlayFrom(firstFrame)) {
    if (current && main_.Execution().Playing()) return;
    CompileAndPlay(firstFrame);
    return;
  }
  StartFollowing(firstFrame);
}

void ShowWindow::StartFollowing(uint32_t firstFrame) {
  playStart_ = firstFrame;
  sawPlaying_ = false;
  idleTicks_ = 0;
  following_ = true;
  follow_->start();
  PauseAct->setEnabled(true);
  RestartAct->setEnabled(true);
  music_->SetSource(ShowMusicPath(show_.Settings, folder_), show_.Settings.MusicOffsetSeconds);
}

void ShowWindow::FollowPlayback() {
  DisplayPort* display = main_.Display();
  const int64_t frame = display ? display->PlaybackFrame() : -1;
  if (frame >= 0) {
    // Before its first frame a show started mid-way reports the frame before it.
    SetPlayHead(std::max<int64_t>(frame, playStart_) * kFrameMilliseconds);
    music_->Follow(static_cast<double>(frame) / kFramesPerSecond, display->PlaybackPaused());
    return;
  }
  if (main_.Execution().Playing()) sawPlaying_ = true;
  // Neither compiling nor playing any more: the show has ended. Between the compile's end
  // and the start of the show (a queued call) both are off for a moment.
  const bool idle = !main_.Execution().Compiling() && !main_.Execution().Playing();
  idleTicks_ = idle ? idleTicks_ + 1 : 0;
  if (idle && (sawPlaying_ || idleTicks_ > kIdleTicksBeforeEnd)) {
    following_ = false;
    follow_->stop();
    music_->Stop();
    PauseAct->setEnabled(false);
    RestartAct->setEnabled(false);
  }
}

void ShowWindow::DevicesChanged() {
  model_->Refresh();
  strip_->update();
}

void ShowWindow::CompileEnded(const CompileOutcome& outcome) {
  if (const auto warning = CulledCuesWarning(compiledCues_, outcome.Extents, kCueFileName))
    dialogs_.Message(DialogKind::Warning, DialogButtons::Ok, *warning);
}

}  // namespace orvane

namespace orvane {

// ---- video export

bool ShowWindow::ExportVideo(const VideoChoice& choice) {
  if (videoExport_->Running()) {
    ShowStatus(QStringLiteral("A video export is running."));
    return false;
  }
  if (show_.Cues.empty()) {
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok, "The show has no cues to export.");
    return false;
  }
  std::filesystem::path folder = folder_;
  std::unique_ptr<QTemporaryDir> scratch;
  if (folder_.empty() || Modified()) {
    // The edits as they stand, saved where the child reads them; the music stays where it is.
    scratch = std::make_unique<QTemporaryDir>();
    if (!scratch->isValid()) {
      ShowError("The show cannot be saved for the export: " + scratch->errorString().toStdString());
      return false;
    }
    ShowDocument copy = show_;
    if (const auto music = ShowMusicPath(show_.Settings, folder_)) {
      copy.Settings.MusicFile = std::filesystem::absolute(*music).string();
    }
    folder = scratch->path().toStdString();
    if (auto error = WriteFilesTogether(folder, ShowFolderFiles(copy, main_.Devices().Devices()))) {
      ShowError("The show cannot be saved for the export: " + *error);
      return false;
    }
  }
  VideoExportRequest request{folder, choice.Output, choice.Size, std::nullopt};
  return videoExport_->Start(cliProgram_, request, std::move(scratch));
}

}  // namespace orvane
