#include "ui/show_video_export.h"

#include <QProcess>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

namespace orvane {
namespace {

// The child stops between frames on SIGTERM; one that does not is killed after this.
constexpr int kKillAfterMs = 10000;
constexpr int kCloseWaitMs = 5000;

}  // namespace

ShowVideoExport::ShowVideoExport(QWidget* window, UserDialogs& dialogs)
    : QObject(window), window_(window), dialogs_(dialogs) {}

ShowVideoExport::~ShowVideoExport() {
  if (!Running()) return;
  process_->disconnect(this);
  process_->terminate();
  if (!process_->waitForFinished(kCloseWaitMs)) {
    process_->kill();
    process_->waitForFinished(kCloseWaitMs);
  }
}

bool ShowVideoExport::Running() const { return process_ != nullptr && process_->state() != QProcess::NotRunning; }

bool ShowVideoExport::Start(const std::filesystem::path& program, const VideoExportRequest& request,
                            std::unique_ptr<QTemporaryDir> scratch) {
  if (Running()) return false;
  if (process_) process_->deleteLater();
  run_ = VideoExportRun();
  scratch_ = std::move(scratch);
  output_ = request.Output;
  process_ = new QProcess(this);
  process_->setProgram(QString::fromStdString(program.string()));
  QStringList arguments;
  for (const std::string& word : VideoExportArguments(request)) arguments << QString::fromStdString(word);
  process_->setArguments(arguments);
  process_->setStandardOutputFile(QProcess::nullDevice());
  connect(process_, &QProcess::readyReadStandardError, this, &ShowVideoExport::ReadErrors);
  connect(process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
    ReadErrors();
    End(code, status == QProcess::CrashExit);
  });

  if (!progress_) {
    progress_ = new QProgressDialog(window_);
    progress_->setObjectName(QStringLiteral("VideoProgress"));
    progress_->setWindowTitle(QStringLiteral("Export video"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(0);
    progress_->setRange(0, 100);
    connect(progress_, &QProgressDialog::canceled, this, &ShowVideoExport::Cancel);
  }
  progress_->setLabelText(QStringLiteral("Compiling the show..."));
  progress_->setValue(0);
  progress_->show();

  process_->start();
  if (!process_->waitForStarted()) {
    const std::string reason = process_->errorString().toStdString();
    progress_->hide();
    scratch_.reset();
    dialogs_.Message(DialogKind::Error, DialogButtons::Ok,
                     "The video export cannot start " + program.string() + ": " + reason);
    emit Finished(VideoExportEnd::kFailed, QString::fromStdString(reason));
    return false;
  }
  return true;
}

qint64 ShowVideoExport::ChildPid() const { return Running() ? process_->processId() : 0; }

void ShowVideoExport::Cancel() {
  if (!Running() || run_.CancelRequested()) return;
  run_.RequestCancel();
  progress_->setLabelText(QStringLiteral("Stopping..."));
  process_->terminate();
  QTimer::singleShot(kKillAfterMs, process_, [p = process_] {
    if (p->state() != QProcess::NotRunning) p->kill();
  });
}

void ShowVideoExport::ReadErrors() {
  if (!process_) return;
  const QByteArray bytes = process_->readAllStandardError();
  run_.TakeErrorOutput(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  if (const auto& p = run_.Progress(); p && !run_.CancelRequested()) {
    progress_->setLabelText(QStringLiteral("Frame %1 of %2").arg(p->Done).arg(p->Total));
    progress_->setValue(run_.Percent());
  }
}

void ShowVideoExport::End(int exitStatus, bool crashed) {
  const VideoExportOutcome outcome = run_.Finish(exitStatus, crashed);
  progress_->hide();
  scratch_.reset();
  if (outcome.End == VideoExportEnd::kFailed) {
    dialogs_.Message(DialogKind::Error, DialogButtons::Ok, "The video was not written.\n" + outcome.Message);
  }
  QString message;
  switch (outcome.End) {
    case VideoExportEnd::kDone:
      message = QStringLiteral("Video written to %1").arg(QString::fromStdString(output_.string()));
      break;
    case VideoExportEnd::kCancelled: message = QStringLiteral("Video export cancelled."); break;
    case VideoExportEnd::kFailed: message = QString::fromStdString(outcome.Message); break;
  }
  emit Finished(outcome.End, message);
}

}  // namespace orvane
