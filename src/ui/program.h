#pragma once
// The desktop program's two windows, made, placed and torn down in order: the main window
// first, then the display window; at the end the display (its context and the copied
// assets) goes first, then the main window with the devices, the sets and the pool.

#include <filesystem>
#include <memory>

#include "ui/display_form.h"
#include "ui/main_form.h"

namespace orvane {

class Program {
 public:
  // `dialogs` answers the main window's messages and must outlive the program.
  Program(ProgramFolders folders, UserDialogs& dialogs, DisplayForm::FatalHandler fatal = {});
  ~Program();

  // Shows the main window at the screen's bottom right and the display at its top left.
  void Show();

  MainForm& Main() { return *main_; }
  DisplayForm& Display() { return *display_; }

 private:
  std::unique_ptr<MainForm> main_;
  std::unique_ptr<DisplayForm> display_;
};

// The folders the program uses: its own, and `temp` (the process's private temporary
// folder, which holds the compiled show and the extracted assets).
ProgramFolders SystemFolders(const std::filesystem::path& temp);

inline constexpr const char* kApplicationTitle = "Orvane";

}  // namespace orvane
