#pragma once
// The show window's video export: `orvane-cli video` as a child process (the offscreen
// renderer lives in that executable), its "frame N/M" lines in a progress dialog whose
// Cancel stops the child, and its end told through UserDialogs.

#include <filesystem>
#include <memory>

#include <QObject>

#include "model/user_dialogs.h"
#include "show/video_export_run.h"

class QProcess;
class QProgressDialog;
class QTemporaryDir;
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
             std::unique_ptr<QTemporaryDir> scratch);
  bool Running() const;
  void Cancel();
  QProgressDialog* Progress() const { return progress_; }
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
  QProgressDialog* progress_ = nullptr;
  std::unique_ptr<QTemporaryDir> scratch_;
  VideoExportRun run_;
  std::filesystem::path output_;
};

}  // namespace orvane
