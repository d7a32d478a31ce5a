// The desktop program: the main window and the display window, until the main window closes.

#include <cstdio>
#include <filesystem>

#include <QApplication>
#include <QStringList>

#include "ui/program.h"
#include "ui/qt_user_dialogs.h"
#include "ui/quit_signals.h"
#include "ui/show_window.h"
#include "ui/tool_tip_style.h"
#include "util/private_temp_folder.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(orvane::kApplicationTitle));
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
    // SIGTERM and SIGINT end the program as closing the main window does.
    const orvane::QuitSignals quitSignals(program.Main());
    program.Show();
    // `orvane --show DIR` opens that show folder in the show window.
    const QStringList args = QCoreApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--show"));
    if (at > 0 && at + 1 < args.size()) {
      program.OpenShowWindow().OpenFolder(std::filesystem::path(args[at + 1].toStdString()));
    } else if (at > 0) {
      std::fprintf(stderr, "orvane: --show needs a show folder\n");
    }
    status = QApplication::exec();
  }
  return status;
}
