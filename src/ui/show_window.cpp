#include "ui/show_window.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "compiler/show_record.h"
#include "model/integer_text.h"
#include "model/timeline_view.h"
#include "project/firing_script.h"
#include "project/product_adding.h"
#include "project/product_browser.h"
#include "project/rehearsal.h"
#include "show/cue_list.h"
#include "ui/cue_table_model.h"
#include "ui/product_browser_dock.h"
#include "ui/show_music.h"
#include "ui/show_video_export.h"
#include "ui/site_view.h"
#include "util/data_folders.h"

namespace orvane {
namespace {

constexpr int kFollowMs = 40;  // one show frame
constexpr size_t kRehearsalLines = 8;
constexpr const char* kCompilingShow = "Compiling the show...";

// A column that edits in an editable box of choices; a choice puts its value (a code, a
// name) into the cell, a typed text goes as typed.
class ChoiceDelegate : public QStyledItemDelegate {
 public:
  struct Choice {
    QString Shown;
    QString Value;
  };
  using Choices = std::function<std::vector<Choice>()>;
  ChoiceDelegate(Choices choices, QObject* parent) : QStyledItemDelegate(parent), choices_(std::move(choices)) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    for (const Choice& c : choices_()) box->addItem(c.Shown, c.Value);
    return box;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* box = static_cast<QComboBox*>(editor);
    const QString value = index.data(Qt::EditRole).toString();
    const int at = box->findData(value);
    if (at >= 0) box->setCurrentIndex(at);
    box->setEditText(at >= 0 ? box->itemText(at) : value);
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    auto* box = static_cast<QComboBox*>(editor);
    const int at = box->currentIndex();
    const bool chosen = at >= 0 && box->itemText(at) == box->currentText();
    model->setData(index, chosen ? box->itemData(at).toString() : box->currentText(), Qt::EditRole);
  }

 private:
  Choices choices_;
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The products by name, then the devices no product describes, by code.
std::vector<ChoiceDelegate::Choice> ProductChoices(const ShowProject& project) {
  std::vector<ChoiceDelegate::Choice> choices;
  for (const Product& p : project.Products().Rows) {
    Cue cue;
    cue.Code = p.Code;
    choices.push_back(
        {Q(CueColumnText(cue, CueColumn::Product, project.TableContext())) + QStringLiteral(" - %1").arg(p.Code),
         QString::number(p.Code)});
  }
  for (const DeviceListItem& item : project.Devices().Items()) {
    const std::optional<int32_t> code = ParseInteger(item.Caption);
    if (code && FindProduct(project.Products(), *code) == nullptr)
      choices.push_back({Q(item.Caption), Q(item.Caption)});
  }
  return choices;
}

std::vector<ChoiceDelegate::Choice> PositionChoices(const ShowProject& project) {
  std::vector<ChoiceDelegate::Choice> choices{{QString(), QString()}};
  for (const SitePosition& p : project.Site().Positions) choices.push_back({Q(p.Name), Q(p.Name)});
  return choices;
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

ShowWindow::ShowWindow(ShowProject& project, ShowStage& stage, UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), project_(project), stage_(stage), dialogs_(dialogs) {
  setObjectName(QStringLiteral("ShowWindow"));
  content_.Cues = &project_.Cues();
  content_.CameraKeys = &project_.CameraKeys();
  content_.Devices = &project_.Devices().Devices();
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
    const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Export video"), VideoFolder(),
                                                      QStringLiteral("MP4 videos (*.mp4)"));
    if (name.isEmpty()) return std::nullopt;
    QStringList items;
    for (const VideoSize& size : sizes) items << QStringLiteral("%1 x %2").arg(size.Width).arg(size.Height);
    bool ok = false;
    const QString item =
        QInputDialog::getItem(this, QStringLiteral("Export video"), QStringLiteral("Size:"), items, 0, false, &ok);
    if (!ok) return std::nullopt;
    return VideoChoice{name.toStdString(), sizes[static_cast<size_t>(std::max<qsizetype>(0, items.indexOf(item)))]};
  };
  chooseScript_ = [this](const std::vector<std::string>& shipped) -> std::optional<ScriptChoice> {
    QStringList items;
    for (const std::string& name : shipped) items << Q(name);
    const QString other = QStringLiteral("Profile file...");
    items << other;
    bool ok = false;
    const QString item = QInputDialog::getItem(this, QStringLiteral("Export firing script"),
                                               QStringLiteral("Firing system's profile:"), items, 0, false, &ok);
    if (!ok) return std::nullopt;
    ScriptChoice choice{item.toStdString(), {}};
    if (item == other) {
      const QString file =
          QFileDialog::getOpenFileName(this, QStringLiteral("Profile"), {}, QStringLiteral("Profiles (*.json)"));
      if (file.isEmpty()) return std::nullopt;
      choice.Profile = file.toStdString();
    }
    const QString name =
        QFileDialog::getSaveFileName(this, QStringLiteral("Export firing script"), {},
                                     QStringLiteral("Firing scripts (*.csv *.srt *.txt);;All files (*)"));
    if (name.isEmpty()) return std::nullopt;
    choice.Output = name.toStdString();
    return choice;
  };
  cliProgram_ = std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / kCliProgramName;
  pickProduct_ = [this](const std::vector<LibraryShelf>& shelves) -> std::optional<LibraryChoice> {
    QStringList items;
    std::vector<LibraryChoice> choices;
    for (size_t i = 0; i < shelves.size(); ++i)
      for (const Product& p : shelves[i].Products.Rows) {
        Cue cue;
        cue.Code = p.Code;
        const CueTableContext context{project_.Site(), shelves[i].Products};
        items << Q(shelves[i].Name + ": " + CueColumnText(cue, CueColumn::Product, context));
        choices.push_back({i, p.Code});
      }
    if (items.isEmpty()) {
      ShowError("The product library holds no products.");
      return std::nullopt;
    }
    bool ok = false;
    const QString item = QInputDialog::getItem(this, QStringLiteral("Add a product"),
                                               QStringLiteral("Product from the library:"), items, 0, false, &ok);
    if (!ok) return std::nullopt;
    return choices[static_cast<size_t>(items.indexOf(item))];
  };
  // The table shows the addresses the shipped "orvane" profile gives until another is chosen.
  if (Result<FiringProfile> orvane = LoadFiringProfile("orvane")) project_.SetScriptProfile(std::move(orvane.Value()));
  BuildWidgets();
  videoExport_ = new ShowVideoExport(this, dialogs_);
  statusBar()->addPermanentWidget(videoExport_->Panel());
  connect(videoExport_, &ShowVideoExport::Finished, this,
          [this](VideoExportEnd, const QString& message) { ShowStatus(message.section(QLatin1Char('\n'), 0, 0)); });
  BuildActions();
  BuildMenus();
  follow_ = new QTimer(this);
  follow_->setInterval(kFollowMs);
  connect(follow_, &QTimer::timeout, this, &ShowWindow::FollowPlayback);
  music_ = new ShowMusic(this);
  connect(music_, &ShowMusic::Silent, this, &ShowWindow::ShowStatus);
  resize(900, 560);
  project_.AddObserver(*this);
  if (!project_.ShowOpen()) project_.New();
  ShowDocumentAnew();
}

ShowWindow::~ShowWindow() {
  if (store_ != nullptr && isVisible()) {
    RememberLayout();
    StoreSettings();
  }
  project_.RemoveObserver(*this);
  analyser_.RequestStop();
}

void ShowWindow::BuildWidgets() {
  model_ = new CueTableModel(
      project_,
      [this](size_t row, CueColumn column, const std::string& text) -> std::optional<std::string> {
        // Checked now; applied once the table has closed its editor.
        Result<CueListChange> edit = project_.CheckCueColumn(row, column, text);
        if (!edit) {
          lastRefusal_ = Q(edit.Message());
          ShowStatus(lastRefusal_);
          return edit.Message();
        }
        if (!lastRefusal_.isEmpty() && status_->text() == lastRefusal_) ShowStatus({});
        lastRefusal_.clear();
        if (!edit.Value().Empty()) {
          auto change = std::make_shared<CueListChange>(std::move(edit.Value()));
          QMetaObject::invokeMethod(
              this, [this, change, column] { project_.EditCues(CueColumnEditName(column), std::move(*change)); },
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
  table_->setItemDelegateForColumn(static_cast<int>(CueColumn::Product),
                                   new ChoiceDelegate([this] { return ProductChoices(project_); }, table_));
  table_->setItemDelegateForColumn(static_cast<int>(CueColumn::Position),
                                   new ChoiceDelegate([this] { return PositionChoices(project_); }, table_));
  table_->horizontalHeader()->setStretchLastSection(true);
  for (const auto& [column, width] :
       {std::pair{CueColumn::Fire, 70}, std::pair{CueColumn::Break, 70}, std::pair{CueColumn::Product, 280},
        std::pair{CueColumn::Position, 70}, std::pair{CueColumn::X, 70}, std::pair{CueColumn::Height, 80},
        std::pair{CueColumn::Z, 70}, std::pair{CueColumn::Label, 160}, std::pair{CueColumn::Module, 60},
        std::pair{CueColumn::Pin, 50}})
    table_->setColumnWidth(static_cast<int>(column), width);
  table_->verticalHeader()->setDefaultSectionSize(20);

  strip_ = new TimelineStrip(content_, *table_->selectionModel());
  connect(strip_, &TimelineStrip::PlayHeadClicked, this, &ShowWindow::SetPlayHead);
  connect(strip_, &TimelineStrip::CueDragged, this, &ShowWindow::MoveBreak);
  connect(strip_, &TimelineStrip::ViewChanged, this, &ShowWindow::UpdateScrollBar);
  connect(strip_, &TimelineStrip::Resized, this, [this] {
    if (fitPending_ && strip_->width() > 0) {
      fitPending_ = false;
      strip_->FitShowIfLonger();
    }
    UpdateScrollBar();
  });
  scroll_ = new QScrollBar(Qt::Horizontal);
  scroll_->setObjectName(QStringLiteral("TimelineScroll"));
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
    TimelineView view = strip_->View();
    const double first = value / view.PixelsPerSecond;
    if (std::abs(first - view.FirstSecond) * view.PixelsPerSecond < 0.5) return;
    view.FirstSecond = first;
    strip_->SetView(view);
  });
  auto* stripArea = new QWidget;
  auto* stripLayout = new QVBoxLayout(stripArea);
  stripLayout->setContentsMargins(0, 0, 0, 0);
  stripLayout->setSpacing(0);
  stripLayout->addWidget(strip_, 1);
  stripLayout->addWidget(scroll_);

  splitter_ = new QSplitter(Qt::Vertical);
  splitter_->setObjectName(QStringLiteral("ShowSplitter"));
  splitter_->addWidget(stripArea);
  splitter_->addWidget(table_);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 2);
  setCentralWidget(splitter_);

  status_ = new QLabel;
  status_->setObjectName(QStringLiteral("ShowStatus"));
  clock_ = new QLabel;
  clock_->setObjectName(QStringLiteral("PlayHeadClock"));
  clock_->setToolTip(QStringLiteral("The play head's time"));
  musicProgress_ = new QProgressBar;
  musicProgress_->setRange(0, 100);
  musicProgress_->setMaximumWidth(120);
  musicProgress_->setTextVisible(false);
  musicProgress_->hide();
  statusBar()->addWidget(status_, 1);
  statusBar()->addPermanentWidget(musicProgress_);
  statusBar()->addPermanentWidget(clock_);

  summary_ = new QPlainTextEdit;
  summary_->setObjectName(QStringLiteral("ShowSummary"));
  summary_->setReadOnly(true);
  summary_->setLineWrapMode(QPlainTextEdit::NoWrap);
  summary_->setMinimumWidth(260);
  auto* dock = new QDockWidget(QStringLiteral("Summary"), this);
  dock->setObjectName(QStringLiteral("SummaryDock"));
  dock->setWidget(summary_);
  addDockWidget(Qt::RightDockWidgetArea, dock);
  BuildProductBrowser();
  tabifyDockWidget(dock, productBrowser_);
  dock->raise();

  rehearsal_ = new QPlainTextEdit;
  rehearsal_->setObjectName(QStringLiteral("Rehearsal"));
  rehearsal_->setReadOnly(true);
  rehearsal_->setLineWrapMode(QPlainTextEdit::NoWrap);
  rehearsal_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  rehearsalDock_ = new QDockWidget(QStringLiteral("Rehearsal: next ignitions"), this);
  rehearsalDock_->setObjectName(QStringLiteral("RehearsalDock"));
  rehearsalDock_->setWidget(rehearsal_);
  addDockWidget(Qt::RightDockWidgetArea, rehearsalDock_);
  rehearsalDock_->hide();

  siteView_ = new SiteView(project_);
  connect(siteView_, &SiteView::Refused, this, [this](const QString& message) { ShowStatus(message); });
  siteDock_ = new QDockWidget(QStringLiteral("Site"), this);
  siteDock_->setObjectName(QStringLiteral("SiteDock"));
  siteDock_->setWidget(siteView_);
  addDockWidget(Qt::RightDockWidgetArea, siteDock_);
  // Planned only while shown: a large show's plan takes a moment.
  connect(siteDock_, &QDockWidget::visibilityChanged, this, [this](bool shown) {
    if (shown) siteView_->Refresh();
  });
}

QString ShowWindow::RehearsalText() const { return rehearsal_->toPlainText(); }

void ShowWindow::UpdateRehearsal() {
  if (!rehearsalDock_->isVisible()) return;
  const AddressPlan& plan = project_.Addresses();
  if (plan.Error) {
    rehearsal_->setPlainText(Q(*plan.Error));
    return;
  }
  const auto next =
      NextIgnitions(project_.Cues(), plan.Addresses, project_.TableContext(), content_.PlayHeadMs, kRehearsalLines);
  rehearsal_->setPlainText(next.empty() ? QStringLiteral("No ignition to come.") : Q(orvane::RehearsalText(next)));
}

void ShowWindow::BuildProductBrowser() {
  thumbnailCache_ = ThumbnailCacheFolder();
  ProductSource source;
  source.List = [this] {
    std::string skipped;
    Result<std::vector<LibraryShelf>> shelves = OpenLibrary(skipped);
    if (!shelves) ShowStatus(Q(shelves.Message()));
    else if (!skipped.empty()) ShowStatus(Q(skipped));
    browsedShelves_ = shelves ? std::move(shelves.Value()) : std::vector<LibraryShelf>{};
    return BrowsedProductsOf(browsedShelves_);
  };
  const auto shelfOf = [this](const BrowsedProduct& p) -> const LibraryShelf* {
    for (const LibraryShelf& shelf : browsedShelves_)
      if (shelf.Name == p.Shelf) return &shelf;
    return nullptr;
  };
  source.Chain = [shelfOf](const BrowsedProduct& p) {
    const LibraryShelf* shelf = shelfOf(p);
    return shelf != nullptr ? ShelfChain(*shelf, p.Code) : std::vector<TBaseDevice>{};
  };
  source.Add = [this, shelfOf](const BrowsedProduct& p) -> std::optional<std::string> {
    const LibraryShelf* shelf = shelfOf(p);
    if (shelf == nullptr) return "The library shelf \"" + p.Shelf + "\" is no longer there.";
    const Result<int32_t> added = project_.AddLibraryProduct(*shelf, p.Code);
    if (!added) return added.Message();
    ShowStatus(QStringLiteral("\"%1\" added as device %2.").arg(Q(p.Name)).arg(added.Value()));
    return std::nullopt;
  };
  productBrowser_ = new ProductBrowserDock(std::move(source), this);
  productBrowser_->setObjectName(QStringLiteral("ProductBrowserDock"));
  connect(productBrowser_, &ProductBrowserDock::AddFailed, this, [this](const QString& m) { ShowStatus(m); });
  // Reading the library and drawing thumbnails waits until someone looks.
  connect(productBrowser_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible && !browserRead_) ReadProductBrowser();
  });
  addDockWidget(Qt::RightDockWidgetArea, productBrowser_);
}

void ShowWindow::ReadProductBrowser() {
  browserRead_ = true;
  productBrowser_->SetCliProgram(cliProgram_);
  productBrowser_->SetCacheFolder(thumbnailCache_);
  productBrowser_->Reload();
}

void ShowWindow::SetThumbnailCache(std::optional<std::filesystem::path> folder) {
  thumbnailCache_ = std::move(folder);
  if (browserRead_) ReadProductBrowser();
}

QString ShowWindow::SummaryText() const { return summary_->toPlainText(); }

void ShowWindow::UpdateDesign() {
  content_.BreakMs.resize(project_.Cues().size());
  for (size_t i = 0; i < content_.BreakMs.size(); ++i) content_.BreakMs[i] = project_.CueBreakMs(i);
  summary_->setPlainText(Q(DesignSummaryText(project_.Summary())));
  strip_->update();
  UpdateRehearsal();
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
    const std::filesystem::path& folder = project_.Folder();
    const std::string start = folder.empty() ? project_.Devices().DeviceFolder() : folder.parent_path().string();
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
  bar->addSeparator();
  // The new product's root is selected in the main window, so Add cue fires it next.
  make(NewEffectAct, "NewEffectAct", QStringLiteral("New effect from description..."),
       QKeySequence(QStringLiteral("Ctrl+Shift+N")), [this] {
         if (const auto root = AskForNewEffect(project_, dialogs_))
           ShowStatus(QStringLiteral("Added the product as device %1.").arg(*root));
       });
  addToolBarBreak();
  bar = addToolBar(QStringLiteral("Play"));
  bar->setObjectName(QStringLiteral("PlayToolBar"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  make(CompileAct, "CompileAct", QStringLiteral("Compile show"), QKeySequence(Qt::Key_F9),
       [this] { CompileAndPlay(0); });
  make(VideoAct, "VideoAct", QStringLiteral("Export video..."), QKeySequence(QStringLiteral("Ctrl+Shift+E")), [this] {
    const std::vector<VideoSize> sizes = VideoSizesToOffer(
        VideoExportSizes(stage_.PanelWidth(), stage_.PanelHeight()),
        VideoSize{project_.Settings().VideoWidth, project_.Settings().VideoHeight}, settings_.ExportSize);
    if (auto choice = chooseVideo_(sizes)) ExportVideo(*choice);
  });
  make(ScriptAct, "ScriptAct", QStringLiteral("Export firing script..."), QKeySequence(), [this] {
    if (auto choice = chooseScript_(ShippedProfileNames())) ExportFiringScript(*choice);
  });
  make(PlayAct, "PlayAct", QStringLiteral("Play"), QKeySequence(Qt::Key_F5), [this] { Play(0); });
  make(RehearseAct, "RehearseAct", QStringLiteral("Rehearsal"), QKeySequence(QStringLiteral("Ctrl+R")),
       [this](bool on) {
         rehearsalDock_->setVisible(on);
         UpdateRehearsal();
       });
  RehearseAct->setCheckable(true);
  connect(rehearsalDock_, &QDockWidget::visibilityChanged, this, [this](bool shown) {
    if (!shown && rehearsalDock_->isHidden()) RehearseAct->setChecked(false);
  });
  make(PlayFromHeadAct, "PlayFromHeadAct", QStringLiteral("Play from the play head"),
       QKeySequence(QStringLiteral("Ctrl+F5")), [this] { Play(CueFrame(content_.PlayHeadMs)); });
  make(StopAct, "StopAct", QStringLiteral("Stop"), QKeySequence(QStringLiteral("Shift+F5")),
       [this] { stage_.StopPlayback(); });
  make(NightAct, "NightAct", QStringLiteral("Night view"), QKeySequence(QStringLiteral("Ctrl+L")), [this](bool on) {
    if (following_) ApplyNightLook(on);
  });
  NightAct->setCheckable(true);
  NightAct->setToolTip(QStringLiteral("Play the show over an open site at night, as its video shows it"));
  // Only while a show plays, so typing in the table keeps its keys; no buttons.
  bar = nullptr;
  make(PauseAct, "PauseAct", QStringLiteral("Pause"), QKeySequence(Qt::Key_Space),
       [this] { stage_.TogglePlaybackPause(); });
  make(RestartAct, "RestartAct", QStringLiteral("Restart"), QKeySequence(Qt::Key_Return), [this] {
    stage_.StopPlayback();
    music_->Stop();
    Play(playStart_);
  });
  PauseAct->setEnabled(false);
  RestartAct->setEnabled(false);
  addToolBarBreak();
  bar = addToolBar(QStringLiteral("Edit"));
  bar->setObjectName(QStringLiteral("EditToolBar"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  make(UndoAct, "UndoAct", QStringLiteral("Undo"), QKeySequence::Undo, [this] { project_.Undo(); });
  make(RedoAct, "RedoAct", QStringLiteral("Redo"), QKeySequence::Redo, [this] { project_.Redo(); });
  bar->addSeparator();
  make(AddCueAct, "AddCueAct", QStringLiteral("Add cue"), QKeySequence(Qt::Key_Insert), [this] { AddCue(); });
  make(DeleteAct, "DeleteAct", QStringLiteral("Delete"), QKeySequence::Delete, [this] { DeleteSelected(); });
  make(DuplicateAct, "DuplicateAct", QStringLiteral("Duplicate"), QKeySequence(QStringLiteral("Ctrl+D")),
       [this] { DuplicateSelected(); });
  make(AddProductAct, "AddProductAct", QStringLiteral("Add product..."), QKeySequence(QStringLiteral("Ctrl+P")),
       [this] { AddLibraryProduct(); });
  make(FitAct, "FitAct", QStringLiteral("Fit"), QKeySequence(QStringLiteral("Ctrl+0")), [this] { strip_->FitShow(); });
  make(SnapAct, "SnapAct", QStringLiteral("Snap to beats"), QKeySequence(QStringLiteral("Ctrl+K")),
       [this](bool on) { content_.SnapToBeats = on; });
  SnapAct->setCheckable(true);
  SnapAct->setChecked(content_.SnapToBeats);
  make(CameraKeyAct, "CameraKeyAct", QStringLiteral("Camera key"), QKeySequence(QStringLiteral("Ctrl+Shift+K")),
       [this] { AddCameraKey(); });
  CameraKeyAct->setToolTip(QStringLiteral("The display's view becomes the night video's camera at the play head"));
  make(RemoveCameraKeyAct, "RemoveCameraKeyAct", QStringLiteral("Remove camera key"),
       QKeySequence(QStringLiteral("Ctrl+Shift+Del")), [this] { RemoveCameraKey(); });
  make(TitleAct, "TitleAct", QStringLiteral("Title..."), QKeySequence(), [this] {
    if (auto title = dialogs_.InputText("Show title", "Title of the show:", project_.Settings().Title))
      SetTitle(*title);
  });
  make(SeedAct, "SeedAct", QStringLiteral("Seed..."), QKeySequence(), [this] { ChooseSeed(); });
  make(KeysAct, "KeysAct", QStringLiteral("Keys"), QKeySequence(Qt::Key_F1), [this] {
    std::string text = "Keys of the show window:\n";
    for (QAction* a : actions() + findChildren<QAction*>()) {
      if (a->shortcut().isEmpty() || a == KeysAct) continue;
      const std::string line =
          "\n" + a->shortcut().toString(QKeySequence::NativeText).toStdString() + "\t" + a->text().toStdString();
      if (text.find(line) == std::string::npos) text += line;
    }
    text += "\nWheel\tzoom around the mouse\nShift+Wheel\tscroll the timeline";
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok, text, "Show window keys");
  });
  UpdateHistoryActions();
}

QString ShowWindow::StatusText() const { return status_->text(); }

QString ShowWindow::ClockText() const { return clock_->text(); }

double ShowWindow::TempoBpm() const {
  const auto& beats = project_.Settings().Beats;
  return beats && !project_.BeatsMissing() ? beats->TempoBpm : 0;
}

void ShowWindow::ShowStatus(const QString& text) { status_->setText(text); }

void ShowWindow::ShowError(const std::string& text) { dialogs_.Message(DialogKind::Error, DialogButtons::Ok, text); }

void ShowWindow::UpdateTitle() {
  setWindowTitle(QStringLiteral("Show timeline - ") + Q(project_.Title()) +
                 (Modified() ? QStringLiteral("*") : QString()));
}

void ShowWindow::UpdateHistoryActions() {
  const ProjectHistory& history = project_.History();
  UndoAct->setEnabled(history.CanUndo());
  RedoAct->setEnabled(history.CanRedo());
  UndoAct->setToolTip(history.CanUndo() ? Q("Undo " + history.UndoText()) : QStringLiteral("Nothing to undo"));
  RedoAct->setToolTip(history.CanRedo() ? Q("Redo " + history.RedoText()) : QStringLiteral("Nothing to redo"));
}

void ShowWindow::UpdateScrollBar() {
  const TimelineView& view = strip_->View();
  double end = LastVisibleSecond(view);
  if (!project_.Cues().empty()) end = std::max(end, static_cast<double>(project_.Cues().back().TimeMs) / 1000.0);
  if (content_.Envelope)
    end = std::max(end, content_.Envelope->DurationSeconds() - project_.Settings().MusicOffsetSeconds);
  const QSignalBlocker quiet(scroll_);
  const int page = std::max(1, view.WidthPixels);
  scroll_->setRange(0, std::max(0, static_cast<int>(std::ceil(end * view.PixelsPerSecond)) - page));
  scroll_->setPageStep(page);
  scroll_->setSingleStep(std::max(1, page / 20));
  scroll_->setValue(static_cast<int>(std::lround(view.FirstSecond * view.PixelsPerSecond)));
}

// ---- the project's reports

void ShowWindow::ShowDocumentAnew() {
  analyser_.RequestStop();
  content_.Envelope.reset();
  musicShown_.clear();
  content_.PlayHeadMs = 0;
  clock_->setText(Q(orvane::ClockText(0)));
  model_->Reload();
  UpdateDesign();
  UpdateBeats();
  // A zoom the user has chosen stays; without one each show is fitted into the strip.
  const bool keepZoom = settings_.TimelineZoom.has_value();
  strip_->SetView(TimelineView{keepZoom ? strip_->View().PixelsPerSecond : kTimelineDefaultZoom, 0, strip_->width()});
  fitPending_ = !keepZoom && strip_->width() <= 0;
  if (!keepZoom && !fitPending_) strip_->FitShowIfLonger();
  if (siteView_ != nullptr && siteView_->isVisible()) siteView_->Refresh();
  UpdateTitle();
  UpdateHistoryActions();
  UpdateScrollBar();
  if (!project_.Settings().MusicFile.empty()) AnalyseMusic(project_.BeatsMissing());
}

void ShowWindow::ProjectChanged(const ProjectChange& change) {
  if (change.Has(ProjectPart::kDocument)) {
    StopFollowing();
    ShowDocumentAnew();
    return;
  }
  if (change.Has(ProjectPart::kCues)) {
    model_->Reload();
    SelectRows(change.CueRows);
  } else if (change.Has(ProjectPart::kDevices) || change.Has(ProjectPart::kProducts) ||
             change.Has(ProjectPart::kSettings)) {
    model_->Refresh();
  }
  if (change.Has(ProjectPart::kCues) || change.Has(ProjectPart::kDevices) || change.Has(ProjectPart::kProducts) ||
      change.Has(ProjectPart::kSettings)) {
    UpdateDesign();
    if (siteView_->isVisible()) siteView_->Refresh();
  }
  if (change.Has(ProjectPart::kSettings)) {
    content_.MusicOffsetSeconds = project_.Settings().MusicOffsetSeconds;
    if (project_.Settings().MusicFile != musicShown_) {
      analyser_.RequestStop();
      content_.Envelope.reset();
      musicShown_.clear();
      if (project_.MusicPath()) AnalyseMusic(project_.BeatsMissing());
    }
  }
  if (change.Has(ProjectPart::kBeats) || change.Has(ProjectPart::kSettings)) UpdateBeats();
  if (!change.Note.empty()) ShowStatus(Q(change.Note));
  UpdateTitle();
  UpdateHistoryActions();
  UpdateScrollBar();
  strip_->update();
}

void ShowWindow::ShowCompileStarted() {
  compilingText_ = QString::fromLatin1(kCompilingShow);
  ShowStatus(compilingText_);
}

void ShowWindow::ShowCompiled(bool written) {
  if (written && siteView_->isVisible()) siteView_->Refresh();
  if (!written) {
    if (status_->text() == compilingText_) ShowStatus({});
    StopFollowing();
  }
}

void ShowWindow::ShowCompileWarning(const std::string& text) {
  dialogs_.Message(DialogKind::Warning, DialogButtons::Ok, text);
}

void ShowWindow::PlaybackStarted() {
  // The compile's message has had its time once the show is on.
  if (!compilingText_.isEmpty() && status_->text() == compilingText_) ShowStatus({});
  compilingText_.clear();
  if (following_) music_->SetSource(project_.MusicPath(), project_.Settings().MusicOffsetSeconds);
}

void ShowWindow::PlaybackEnded() { StopFollowing(); }

// ---- documents

void ShowWindow::NewShow() {
  if (!MaybeSave()) return;
  project_.New();
  ShowStatus({});
}

bool ShowWindow::OpenFolder(const std::filesystem::path& folder) {
  if (!MaybeSave()) return false;
  LoadShowFolder(folder);
  return project_.Folder() == folder && !project_.Modified();
}

void ShowWindow::LoadShowFolder(const std::filesystem::path& folder) {
  const ProjectOpenReport report = project_.Open(folder, dialogs_);
  if (!report.Opened) {
    ShowError(report.Opened.Message());
    return;
  }
  RememberShow(folder);
  ShowStatus(report.MusicMissing ? QStringLiteral("The music file is missing: the show plays without music.")
                                 : QStringLiteral("%1 cues.").arg(project_.Cues().size()));
}

bool ShowWindow::Save() {
  if (project_.Folder().empty()) return SaveAs();
  const ProjectSaveReport report = project_.Save(dialogs_);
  for (const Notice& n : ShowProject::SaveNotices(report)) dialogs_.Message(n.Kind, DialogButtons::Ok, n.Text);
  if (report.End != WriteEnd::kWritten) return false;
  ShowStatus(QStringLiteral("Saved in %1.").arg(Q(project_.Folder().string())));
  return true;
}

bool ShowWindow::SaveAs() {
  if (!project_.SaveToChosenFolder(dialogs_)) return false;
  RememberShow(project_.Folder());
  ShowStatus(QStringLiteral("Saved in %1.").arg(Q(project_.Folder().string())));
  return true;
}

bool ShowWindow::MaybeSave() { return project_.AskToSave(dialogs_) != ShowProject::LosingEdits::kCancel; }

// Closing the window closes the show: edits given up with "No" are gone, so nothing is
// asked about them again, and the main window is back to its devices alone.
void ShowWindow::closeEvent(QCloseEvent* event) {
  if (project_.AskToSave(dialogs_) == ShowProject::LosingEdits::kCancel) {
    event->ignore();
    return;
  }
  StopFollowing();
  // Before the show closes, which resets the strip.
  if (store_ != nullptr) {
    RememberLayout();
    StoreSettings();
  }
  project_.Close();
  event->accept();
}

bool ShowWindow::ImportCues(const std::filesystem::path& file) {
  const Result<> imported = project_.ImportCues(file);
  if (!imported) {
    ShowError(imported.Message());
    return false;
  }
  strip_->FitShow();
  ShowStatus(QStringLiteral("%1 cues imported.").arg(project_.Cues().size()));
  return true;
}

bool ShowWindow::ExportCues(const std::filesystem::path& file) {
  const ProjectSaveReport report = project_.ExportCues(file, dialogs_);
  if (report.End == WriteEnd::kFailed) ShowError(report.Message);
  if (report.End != WriteEnd::kWritten) return false;
  ShowStatus(QStringLiteral("%1 cues exported.").arg(project_.Cues().size()));
  return true;
}

bool ShowWindow::ExportFiringScript(const ScriptChoice& choice) {
  Result<FiringProfile> profile = LoadFiringProfile(choice.Profile);
  if (!profile) {
    ShowError(profile.Message());
    return false;
  }
  project_.SetScriptProfile(std::move(profile.Value()));
  model_->Refresh();
  if (project_.ReadsFile(choice.Output)) {
    ShowError("The firing script cannot replace " + choice.Output.string() + ", a file of the show.");
    return false;
  }
  const FiringScriptPlan plan = PlanFiringScript(
      {project_.Cues(), project_.TableContext(), project_.Title(), TodayText()}, project_.ScriptProfile());
  const std::string report = FiringScriptReport(plan);
  if (plan.Refused()) {
    dialogs_.Message(DialogKind::Error, DialogButtons::Ok, "The firing script cannot be written:\n\n" + report,
                     "Export firing script");
    return false;
  }
  if (dialogs_.Message(DialogKind::Confirmation, DialogButtons::YesNo,
                       report + "\nWrite the firing script to " + choice.Output.string() + "?",
                       "Export firing script") != DialogAnswer::Yes)
    return false;
  if (const Result<> written = WriteFiringScript(choice.Output, plan); !written) {
    ShowError(written.Message());
    return false;
  }
  ShowStatus(QStringLiteral("Firing script written: %1").arg(Q(choice.Output.string())));
  if (plan.AssignedCount > 0 &&
      dialogs_.Message(DialogKind::Confirmation, DialogButtons::YesNo,
                       "Keep the " + std::to_string(plan.AssignedCount) +
                           " assigned addresses in the cue list, so that later scripts give the same?",
                       "Export firing script") == DialogAnswer::Yes)
    project_.WriteAddresses();
  return true;
}

// ---- settings

void ShowWindow::ChooseMusic() {
  QDialog box(this);
  box.setObjectName(QStringLiteral("MusicDialog"));
  box.setWindowTitle(QStringLiteral("Music"));
  auto* file = new QLineEdit(Q(project_.Settings().MusicFile));
  file->setObjectName(QStringLiteral("MusicFileEdit"));
  auto* browse = new QPushButton(QStringLiteral("Browse..."));
  auto* remove = new QPushButton(QStringLiteral("Remove"));
  auto* offset = new QDoubleSpinBox;
  offset->setObjectName(QStringLiteral("MusicOffsetBox"));
  offset->setRange(-3600, 3600);
  offset->setDecimals(3);
  offset->setSuffix(QStringLiteral(" s"));
  offset->setValue(project_.Settings().MusicOffsetSeconds);
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
  if (!chosen.empty() && std::filesystem::path(chosen).is_relative() && !project_.Folder().empty())
    chosen = (project_.Folder() / chosen).string();
  SetMusic(chosen, offset->value());
}

void ShowWindow::ChooseSeed() {
  const std::optional<std::string> text = dialogs_.InputText(
      "Show seed", "Seed of the show's random draws (0 to 4294967295):", std::to_string(project_.Seed()));
  if (!text) return;
  uint32_t seed = 0;
  const std::string& t = *text;
  const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), seed);
  if (t.empty() || error != std::errc() || end != t.data() + t.size()) {
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok,
                     "The seed must be a whole number from 0 to 4294967295, not \"" + t + "\".");
    return;
  }
  project_.SetSeed(seed);
}

// ---- music

void ShowWindow::AnalyseMusic(bool findBeats) {
  const std::optional<std::filesystem::path> file = project_.MusicPath();
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
  musicShown_ = project_.Settings().MusicFile;
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
  const std::optional<std::filesystem::path> file = project_.MusicPath();
  if (!file || *file != analysis.File) return;
  if (!analysis.Ok()) {
    content_.Envelope.reset();
    ShowStatus(Q(analysis.Message));
    strip_->update();
    return;
  }
  content_.Envelope = analysis.Envelope;
  if (!analysis.Beats.BeatSeconds.empty() || analysis.Beats.TempoBpm > 0) {
    const size_t count = analysis.Beats.BeatSeconds.size();
    const double tempo = analysis.Beats.TempoBpm;
    project_.SetBeats({project_.Settings().MusicFile, tempo, std::move(analysis.Beats.BeatSeconds)});
    ShowStatus(QStringLiteral("%1 beats, tempo %2 bpm.").arg(count).arg(tempo, 0, 'f', 1));
  } else if (!analysis.Beats.Ok()) {
    ShowStatus(Q(analysis.Beats.Message));
  } else {
    ShowStatus(QStringLiteral("Music: %1 s.").arg(analysis.Envelope->DurationSeconds(), 0, 'f', 2));
  }
  if (project_.Cues().empty()) strip_->FitShow();
  UpdateScrollBar();
  strip_->update();
}

void ShowWindow::UpdateBeats() {
  content_.MusicOffsetSeconds = project_.Settings().MusicOffsetSeconds;
  content_.BeatSeconds = project_.BeatShowSeconds();
}

// ---- cue edits

std::vector<size_t> ShowWindow::SelectedRows() const {
  std::vector<size_t> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void ShowWindow::SelectRows(const std::vector<size_t>& rows) {
  const std::vector<Cue>& cues = project_.Cues();
  QItemSelection selection;
  for (size_t row : rows) {
    if (row >= cues.size()) continue;
    const int r = static_cast<int>(row);
    selection.select(model_->index(r, 0), model_->index(r, kCueColumnCount - 1));
  }
  table_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  if (!rows.empty() && rows.front() < cues.size()) table_->scrollTo(model_->index(static_cast<int>(rows.front()), 0));
}

void ShowWindow::AddCue() {
  const DeviceList& list = project_.Devices();
  const auto selected = list.Selection();
  const std::optional<int32_t> code =
      selected && *selected < list.Items().size() ? ParseInteger(list.Items()[*selected].Caption) : std::nullopt;
  if (!code) {
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok,
                     "Select in the main window's list the device the new cue fires.");
    return;
  }
  Cue cue;
  cue.TimeMs = content_.PlayHeadMs;
  cue.Code = *code;
  project_.EditCues("Add cue", AddCueChange(project_.Cues(), std::move(cue)));
}

void ShowWindow::DeleteSelected() {
  project_.EditCues("Delete cues", DeleteCuesChange(project_.Cues(), SelectedRows()));
}

void ShowWindow::DuplicateSelected() {
  project_.EditCues("Duplicate cues", DuplicateCuesChange(project_.Cues(), SelectedRows()));
}

void ShowWindow::MoveCue(size_t row, int64_t ms) {
  project_.EditCues("Move cue", MoveCueChange(project_.Cues(), row, ms));
}

void ShowWindow::MoveBreak(size_t row, int64_t breakMs) {
  const Result<> moved = project_.MoveCueBreak(row, breakMs);
  if (!moved) ShowStatus(Q(moved.Message()));
}

std::optional<std::string> ShowWindow::SetCueColumn(size_t row, CueColumn column, const std::string& text) {
  const Result<> set = project_.SetCueColumn(row, column, text);
  if (!set) {
    lastRefusal_ = Q(set.Message());
    ShowStatus(lastRefusal_);
    return set.Message();
  }
  if (!lastRefusal_.isEmpty() && status_->text() == lastRefusal_) ShowStatus({});
  lastRefusal_.clear();
  return std::nullopt;
}

Result<std::vector<LibraryShelf>> ShowWindow::OpenLibrary(std::string& skipped) const {
  const std::optional<std::filesystem::path> library =
      libraryFolder_.empty() ? DataFolder(kLibraryFolderName) : std::optional(libraryFolder_);
  if (!library) return Fail("The product library was not found beside the program.");
  const Result<std::vector<std::filesystem::path>> folders = LibraryShelfFolders(*library);
  if (!folders) return folders.Error();
  std::vector<LibraryShelf> shelves;
  for (const std::filesystem::path& folder : folders.Value()) {
    Result<LibraryShelf> shelf = OpenLibraryShelf(folder, project_.Devices().Prepare());
    if (!shelf) {
      skipped = shelf.Message();
      continue;
    }
    shelves.push_back(std::move(shelf.Value()));
  }
  return shelves;
}

bool ShowWindow::AddLibraryProduct() {
  std::string skipped;
  Result<std::vector<LibraryShelf>> opened = OpenLibrary(skipped);
  if (!opened) {
    ShowError(opened.Message());
    return false;
  }
  if (!skipped.empty()) ShowStatus(Q(skipped));
  std::vector<LibraryShelf>& shelves = opened.Value();
  const std::optional<LibraryChoice> chosen = pickProduct_(shelves);
  if (!chosen || chosen->Shelf >= shelves.size()) return false;
  const Result<int32_t> added = project_.AddLibraryProduct(shelves[chosen->Shelf], chosen->Code);
  if (!added) {
    ShowError(added.Message());
    return false;
  }
  const Product* row = FindProduct(project_.Products(), added.Value());
  ShowStatus(QStringLiteral("\"%1\" added as device %2.").arg(Q(row != nullptr ? row->Name : "")).arg(added.Value()));
  return true;
}

std::optional<std::string> ShowWindow::SetCueField(size_t row, CueField field, const std::string& text) {
  const Result<> set = project_.SetCueField(row, field, text);
  if (!set) {
    lastRefusal_ = Q(set.Message());
    ShowStatus(lastRefusal_);
    return set.Message();
  }
  if (!lastRefusal_.isEmpty() && status_->text() == lastRefusal_) ShowStatus({});
  lastRefusal_.clear();
  return std::nullopt;
}

void ShowWindow::SetPlayHead(int64_t ms) {
  content_.PlayHeadMs = std::clamp<int64_t>(ms, 0, kMaxCueTimeMs);
  clock_->setText(Q(orvane::ClockText(content_.PlayHeadMs)));
  strip_->update();
  UpdateRehearsal();
  siteView_->SetPlayHead(content_.PlayHeadMs);
}

// ---- compile and playback

void ShowWindow::ShowRefusal(const CompileRefusal& refusal) {
  if (refusal.Cue) SelectRows({*refusal.Cue});
  dialogs_.Message(DialogKind::Information, DialogButtons::Ok, refusal.Message);
}

void ShowWindow::CompileAndPlay(uint32_t firstFrame) {
  const ShowStart start = stage_.CompileShow(firstFrame);
  if (start.Refusal) {
    ShowRefusal(*start.Refusal);
    return;
  }
  if (start.Busy) {
    ShowStatus(QStringLiteral("A compile or a show is running."));
    return;
  }
  StartFollowing(firstFrame);
}

void ShowWindow::Play(uint32_t firstFrame) {
  const bool current = project_.CompiledCurrent(stage_.BoxScale());
  if (!current || !stage_.PlayFrom(firstFrame)) {
    if (current && stage_.Playing()) return;
    CompileAndPlay(firstFrame);
    return;
  }
  StartFollowing(firstFrame);
}

void ShowWindow::StartFollowing(uint32_t firstFrame) {
  playStart_ = firstFrame;
  following_ = true;
  follow_->start();
  PauseAct->setEnabled(true);
  RestartAct->setEnabled(true);
  ApplyNightLook(NightAct->isChecked());
  // The music starts with the show; a show still compiling reports its start.
  if (stage_.Playing()) music_->SetSource(project_.MusicPath(), project_.Settings().MusicOffsetSeconds);
}

void ShowWindow::StopFollowing() {
  if (!following_) return;
  following_ = false;
  follow_->stop();
  music_->Stop();
  // Effects are designed in the classic drawing.
  ApplyNightLook(false);
  PauseAct->setEnabled(false);
  RestartAct->setEnabled(false);
}

void ShowWindow::AddCameraKey() {
  const std::optional<CameraPathPose> view = stage_.DisplayView();
  if (!view) {
    ShowStatus(QStringLiteral("No display to take the camera's view from."));
    return;
  }
  project_.AddCameraKey({content_.PlayHeadMs, *view});
  ShowStatus(QStringLiteral("Camera key at %1").arg(Q(orvane::ClockText(content_.PlayHeadMs))));
}

void ShowWindow::RemoveCameraKey() {
  if (!project_.RemoveCameraKey(content_.PlayHeadMs)) {
    ShowStatus(QStringLiteral("No camera key at the play head; click a key's mark on the ruler to go to it."));
  }
}

void ShowWindow::ApplyNightLook(bool on) {
  if (!stage_.SetNightLook(on, project_.Site()) && on) NightAct->setChecked(false);
}

void ShowWindow::FollowPlayback() {
  const int64_t frame = stage_.PlaybackFrame();
  if (frame < 0) return;
  // Before its first frame a show started mid-way reports the frame before it.
  SetPlayHead(std::max<int64_t>(frame, playStart_) * kFrameMilliseconds);
  music_->Follow(static_cast<double>(frame) / kFramesPerSecond, stage_.PlaybackPaused());
}

// ---- video export

bool ShowWindow::ExportVideo(const VideoChoice& choice) {
  if (videoExport_->Running()) {
    ShowStatus(QStringLiteral("A video export is running."));
    return false;
  }
  Result<PreparedShowExport> prepared = project_.PrepareExport();
  if (!prepared) {
    dialogs_.Message(DialogKind::Information, DialogButtons::Ok, prepared.Message());
    return false;
  }
  project_.RememberVideoSize(choice.Size.Width, choice.Size.Height);
  PreparedShowExport& show = prepared.Value();
  const VideoExportRequest request{show.Folder, choice.Output, choice.Size, show.Seed};
  if (!videoExport_->Start(cliProgram_, request, std::move(show.Scratch))) return false;
  settings_.ExportSize = choice.Size;
  std::error_code error;
  settings_.ExportFolder = std::filesystem::absolute(choice.Output, error).parent_path();
  StoreSettings();
  return true;
}

}  // namespace orvane
