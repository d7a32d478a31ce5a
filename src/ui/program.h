#pragma once
// The desktop program: the show project and its windows, made, placed and torn down in
// order: the main window first, then the display window, and the show window on first use;
// at the end the show window and the display (its context and the copied assets) go first,
// then the main window with the sets and the pool, and last the project with the devices.

#include <filesystem>
#include <memory>

#include "project/show_project.h"
#include "ui/display_form.h"
#include "ui/main_form.h"

namespace orvane {

class QtSettingsStore;
class ShowWindow;

class Program {
 public:
  // `dialogs` answers the main window's messages and must outlive the program.
  Program(ProgramFolders folders, UserDialogs& dialogs, DisplayForm::FatalHandler fatal = {});
  ~Program();

  // Shows the main window at the screen's bottom right and the display at its top left.
  void Show();

  MainForm& Main() { return *main_; }
  DisplayForm& Display() { return *display_; }
  ShowProject& Project() { return project_; }
  // The show timeline window, made on first use with the user's settings file, shown and raised.
  ShowWindow& OpenShowWindow();
  ShowWindow* Shows() const { return shows_.get(); }

 private:
  UserDialogs& dialogs_;
  ShowProject project_;
  std::unique_ptr<MainForm> main_;
  std::unique_ptr<DisplayForm> display_;
  std::unique_ptr<QtSettingsStore> settings_;  // outlives the show window, which writes to it last
  std::unique_ptr<ShowWindow> shows_;
};

// The folders the program uses: its own, and `temp` (the process's private temporary
// folder, which holds the compiled show and the extracted assets).
ProgramFolders SystemFolders(const std::filesystem::path& temp);

inline constexpr const char* kApplicationTitle = "Orvane";

}  // namespace orvane
