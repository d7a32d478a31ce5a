// The desktop program: the main window and the display window, until the main window closes.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QStringList>

#include "app/program_args.h"
#include "ui/program.h"
#include "ui/qt_user_dialogs.h"
#include "ui/quit_signals.h"
#include "ui/show_window.h"
#include "ui/tool_tip_style.h"
#include "util/private_temp_folder.h"
#include "util/stop_signals.h"
#include "util/version.h"

namespace {

// Help and version are answered before the toolkit starts, so they work without a display.
int AnswerTextRequest(const orvane::ProgramArgs& args) {
  using Action = orvane::ProgramArgs::Action;
  if (args.What == Action::Help) orvane::PrintProgramHelp(std::cout);
  if (args.What == Action::Version) std::cout << orvane::ProgramVersionLine() << "\n";
  if (args.What != Action::Refuse) return 0;
  std::cerr << "orvane: " << args.Error << "\n";
  return 1;
}

std::vector<std::string> ArgumentsAfterProgram() {
  std::vector<std::string> words;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) words.push_back(args[i].toStdString());
  return words;
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::vector<std::string> raw(argv + 1, argv + argc); orvane::AsksForTextOnly(raw)) {
    return AnswerTextRequest(orvane::ParseProgramArgs(raw));
  }
  orvane::IgnoreFileSizeSignal();
  QApplication app(argc, argv);
  // The toolkit has taken its own options (-platform, -style) out of the arguments by now.
  const orvane::ProgramArgs args = orvane::ParseProgramArgs(ArgumentsAfterProgram());
  if (args.What == orvane::ProgramArgs::Action::Refuse) return AnswerTextRequest(args);
  QApplication::setApplicationVersion(QString::fromLatin1(orvane::ProgramVersion()));
  QApplication::setApplicationName(QString::fromLatin1(orvane::kApplicationTitle));
  // Ties the windows to the menu entry (its icon and name) on Wayland and in task bars.
  QGuiApplication::setDesktopFileName(QStringLiteral(ORVANE_APP_ID));
  QApplication::setStyle(new orvane::ToolTipStyle);  // the application owns it

  orvane::QtUserDialogs dialogs;
  // Removed with the show file and the assets when main returns.
  const orvane::PrivateTempFolder temp;
  if (!temp.Made()) {
    dialogs.Message(orvane::DialogKind::Error, orvane::DialogButtons::Ok, temp.ErrorText());
    return 1;
  }
  int status = 0;
  {
    orvane::Program program(orvane::SystemFolders(temp.Path()), dialogs);
    dialogs.SetParent(&program.Main());
    QObject::connect(&program.Main(), &orvane::MainForm::Closed, &app, &QApplication::quit);
    // SIGTERM, SIGINT and SIGHUP end the program as closing the main window does.
    const orvane::QuitSignals quitSignals(program.Main());
    program.Show();
    if (args.ShowFolder) program.OpenShowWindow().OpenFolder(*args.ShowFolder);
    status = QApplication::exec();
  }
  return status;
}
