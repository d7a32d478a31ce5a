#include "ui/program.h"

#include <filesystem>

#include <QCoreApplication>
#include <QScreen>

#include "compiler/compiled_device_prep.h"
#include "ui/qt_settings_store.h"
#include "ui/show_window.h"

namespace orvane {
namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

}  // namespace

ProgramFolders SystemFolders(const std::filesystem::path& temp) {
  return {WithSlash(QCoreApplication::applicationDirPath().toStdString()), WithSlash(temp.string())};
}

Program::Program(ProgramFolders folders, UserDialogs& dialogs, DisplayForm::FatalHandler fatal)
    : dialogs_(dialogs), project_(PrepareCompiledPart) {
  const std::string temp = folders.Temp;
  main_ = std::make_unique<MainForm>(std::move(folders), project_, dialogs);
  display_ = std::make_unique<DisplayForm>(*main_, temp, std::move(fatal));
  main_->SetDisplay(display_.get());
  QObject::connect(main_.get(), &MainForm::ShowWindowRequested, main_.get(), [this] { OpenShowWindow(); });
}

Program::~Program() {
  shows_.reset();
  main_->SetDisplay(nullptr);
  display_.reset();
  main_.reset();
}

ShowWindow& Program::OpenShowWindow() {
  if (!shows_) {
    settings_ = std::make_unique<QtSettingsStore>(DefaultSettingsFile());
    shows_ = std::make_unique<ShowWindow>(project_, *main_, dialogs_);
    shows_->UseSettings(*settings_);
  }
  if (!project_.ShowOpen()) project_.New();
  shows_->show();
  shows_->raise();
  shows_->activateWindow();
  return *shows_;
}

void Program::Show() {
  main_->show();
  if (const QScreen* screen = display_->screen()) display_->move(screen->availableGeometry().topLeft());
  display_->show();
}

}  // namespace orvane
