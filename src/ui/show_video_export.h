#pragma once
// The show window's video export: `orvane-cli video` as a child process (the offscreen
// renderer lives in that executable), its "frame N/M" lines in a small panel of the status
// bar whose Cancel stops the child, and its end told through UserDialogs. The window stays
// usable meanwhile.

#include <filesystem>
#include <memory>

#include <QObject>

#include "model/user_dialogs.h"
#include "export/video_export_run.h"
#include "util/private_temp_folder.h"

class QLabel;
class QProcess;
class QProgressBar;
class QPushButton;
class QWidget;

namespace orvane {

class ShowVideoExport : public QObject {
  Q_OBJECT
 public:
  ShowVideoExport(QWidget* window, UserDialogs& dialogs);
  // Stops a child still running and waits for it.
  ~ShowVideoExport() override;

  // scratch (may be null) holds a temporary save of the show and goes with the child.
  // False, after its message, when the child does not start.
  bool Start(const std::filesystem::path& program, const VideoExportRequest& request,
             std::unique_ptr<PrivateTempFolder> scratch);
  bool Running() const;
  void Cancel();
  // The status bar's panel: shown while an export runs.
  QWidget* Panel() const { return panel_; }
  QLabel* ProgressLabel() const { return label_; }
  QProgressBar* ProgressBar() const { return bar_; }
  QPushButton* CancelButton() const { return cancel_; }
  // The running child's process id; 0 when none runs.
  qint64 ChildPid() const;

 signals:
  void Finished(orvane::VideoExportEnd end, const QString& message);

 private:
  void ReadErrors();
  void End(int exitStatus, bool crashed);

  QWidget* window_;
  UserDialogs& dialogs_;
  QProcess* process_ = nullptr;
  QWidget* panel_ = nullptr;
  QLabel* label_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* cancel_ = nullptr;
  std::unique_ptr<PrivateTempFolder> scratch_;
  VideoExportRun run_;
  std::filesystem::path output_;
};

}  // namespace orvane
