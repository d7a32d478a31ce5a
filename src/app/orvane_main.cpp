// The desktop program: the main window and the display window, until the main window closes.

#include <cstdio>
#include <filesystem>

#include <QApplication>
#include <QStringList>

#include "ui/program.h"
#include "ui/qt_user_dialogs.h"
#include "ui/show_window.h"
#include "ui/tool_tip_style.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(orvane::kApplicationTitle));
  QApplication::setStyle(new orvane::ToolTipStyle);  // the application owns it

  orvane::QtUserDialogs dialogs;
  int status = 0;
  {
    orvane::Program program(orvane::SystemFolders(), dialogs);
    dialogs.SetParent(&program.Main());
    QObject::connect(&program.Main(), &orvane::MainForm::Closed, &app, &QApplication::quit);
    program.Show();
    // `orvane --show DIR` opens that show folder in the show window.
    const QStringList args = QCoreApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--show"));
    if (at > 0 && at + 1 < args.size()) {
      program.Main().OpenShowWindow().OpenFolder(std::filesystem::path(args[at + 1].toStdString()));
    } else if (at > 0) {
      std::fprintf(stderr, "orvane: --show needs a show folder\n");
    }
    status = QApplication::exec();
  }
  return status;
}
