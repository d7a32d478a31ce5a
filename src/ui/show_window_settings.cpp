// The show window's File menu and what it remembers between runs.

#include <system_error>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>

#include "ui/show_window.h"

namespace orvane {
namespace {

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }
std::string Bytes(const QByteArray& b) { return std::string(b.constData(), static_cast<size_t>(b.size())); }

bool IsFolder(const std::filesystem::path& folder) {
  std::error_code error;
  return std::filesystem::is_directory(folder, error);
}

}  // namespace

void ShowWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("FileMenu"));
  file->addAction(NewAct);
  file->addAction(OpenAct);
  recentMenu_ = file->addMenu(QStringLiteral("Open &Recent"));
  recentMenu_->setObjectName(QStringLiteral("RecentMenu"));
  ClearRecentAct = new QAction(QStringLiteral("Clear the list"), this);
  ClearRecentAct->setObjectName(QStringLiteral("ClearRecentAct"));
  connect(ClearRecentAct, &QAction::triggered, this, [this] {
    settings_.RecentShows.clear();
    StoreSettings();
    FillRecentMenu();
  });
  file->addAction(SaveAct);
  file->addAction(SaveAsAct);
  file->addSeparator();
  file->addAction(ImportAct);
  file->addAction(ExportAct);
  file->addAction(VideoAct);
  file->addSeparator();
  CloseAct = file->addAction(QStringLiteral("Close"), QKeySequence::Close, this, &QWidget::close);
  CloseAct->setObjectName(QStringLiteral("CloseAct"));
  FillRecentMenu();
}

void ShowWindow::UseSettings(SettingsStore& store) {
  store_ = &store;
  settings_ = LoadUserSettings(store);
  // The toolkit refuses records it cannot use; what it refuses stays as it was made.
  restoreGeometry(Bytes(settings_.WindowGeometry));
  restoreState(Bytes(settings_.WindowState));
  splitter_->restoreState(Bytes(settings_.SplitterState));
  if (settings_.TimelineZoom) {
    TimelineView view = strip_->View();
    view.PixelsPerSecond = *settings_.TimelineZoom;
    fitPending_ = false;
    strip_->SetView(view);
  }
  FillRecentMenu();
}

void ShowWindow::RememberLayout() {
  settings_.WindowGeometry = Bytes(saveGeometry());
  settings_.WindowState = Bytes(saveState());
  settings_.SplitterState = Bytes(splitter_->saveState());
  settings_.TimelineZoom = strip_->View().PixelsPerSecond;
}

void ShowWindow::StoreSettings() {
  if (store_ == nullptr) return;
  SaveUserSettings(settings_, *store_);
  store_->Flush();
}

void ShowWindow::RememberShow(const std::filesystem::path& folder) {
  std::error_code error;
  AddRecentShow(settings_.RecentShows, std::filesystem::absolute(folder, error));
  StoreSettings();
  FillRecentMenu();
}

void ShowWindow::FillRecentMenu() {
  recentMenu_->clear();
  for (const std::filesystem::path& folder : settings_.RecentShows) {
    QString text = QString::fromStdString(folder.string());
    QAction* open = recentMenu_->addAction(text.replace(QLatin1Char('&'), QStringLiteral("&&")));
    connect(open, &QAction::triggered, this, [this, folder] { OpenRecent(folder); });
  }
  recentMenu_->addSeparator();
  recentMenu_->addAction(ClearRecentAct);
  recentMenu_->setEnabled(!settings_.RecentShows.empty());
}

void ShowWindow::OpenRecent(const std::filesystem::path& folder) {
  if (!MaybeSave()) return;
  LoadShowFolder(folder);
  // A show that was moved or deleted leaves the list once its message has been shown.
  if (!IsFolder(folder)) {
    RemoveRecentShow(settings_.RecentShows, folder);
    StoreSettings();
    FillRecentMenu();
  }
}

QString ShowWindow::VideoFolder() const {
  if (!settings_.ExportFolder.empty() && IsFolder(settings_.ExportFolder))
    return QString::fromStdString(settings_.ExportFolder.string());
  return QString::fromStdString(project_.Folder().string());
}

}  // namespace orvane
