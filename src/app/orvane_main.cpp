// The desktop program: the main window and the display window, until the main window closes.

#include <QApplication>

#include "ui/program.h"
#include "ui/qt_user_dialogs.h"
#include "ui/quit_signals.h"
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
    // SIGTERM and SIGINT end the program as closing the main window does.
    const orvane::QuitSignals quitSignals(program.Main());
    program.Show();
    status = QApplication::exec();
  }
  return status;
}
