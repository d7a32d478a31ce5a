#include "ui/program.h"

#include <filesystem>

#include <QCoreApplication>
#include <QScreen>

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

Program::Program(ProgramFolders folders, UserDialogs& dialogs, DisplayForm::FatalHandler fatal) {
  const std::string temp = folders.Temp;
  main_ = std::make_unique<MainForm>(std::move(folders), dialogs);
  display_ = std::make_unique<DisplayForm>(*main_, temp, std::move(fatal));
  main_->SetDisplay(display_.get());
}

Program::~Program() {
  main_->SetDisplay(nullptr);
  display_.reset();
  main_.reset();
}

void Program::Show() {
  main_->show();
  if (const QScreen* screen = display_->screen()) display_->move(screen->availableGeometry().topLeft());
  display_->show();
}

}  // namespace orvane
