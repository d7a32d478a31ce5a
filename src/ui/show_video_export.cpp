#include "ui/show_video_export.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace orvane {
namespace {

// The child stops between frames on SIGTERM; one that does not is killed after this.
constexpr int kKillAfterMs = 10000;
constexpr int kCloseWaitMs = 5000;

}  // namespace

ShowVideoExport::ShowVideoExport(QWidget* window, UserDialogs& dialogs)
    : QObject(window), window_(window), dialogs_(dialogs) {
  panel_ = new QWidget(window_);
  panel_->setObjectName(QStringLiteral("VideoProgress"));
  auto* row = new QHBoxLayout(panel_);
  row->setContentsMargins(0, 0, 0, 0);
  label_ = new QLabel;
  bar_ = new QProgressBar;
  bar_->setRange(0, 100);
  bar_->setMaximumWidth(140);
  cancel_ = new QPushButton(QStringLiteral("Cancel"));
  cancel_->setObjectName(QStringLiteral("VideoCancel"));
  cancel_->setToolTip(QStringLiteral("Stop the video export; no file is left"));
  row->addWidget(label_);
  row->addWidget(bar_);
  row->addWidget(cancel_);
  panel_->hide();
  connect(cancel_, &QPushButton::clicked, this, &ShowVideoExport::Cancel);
}

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
                            std::unique_ptr<PrivateTempFolder> scratch) {
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

  label_->setText(QStringLiteral("Video: compiling the show..."));
  bar_->setValue(0);
  cancel_->setEnabled(true);
  panel_->show();

  process_->start();
  if (!process_->waitForStarted()) {
    const std::string reason = process_->errorString().toStdString();
    panel_->hide();
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
  label_->setText(QStringLiteral("Video: stopping..."));
  cancel_->setEnabled(false);
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
    label_->setText(QStringLiteral("Video: frame %1 of %2").arg(p->Done).arg(p->Total));
    bar_->setValue(run_.Percent());
  }
}

void ShowVideoExport::End(int exitStatus, bool crashed) {
  const VideoExportOutcome outcome = run_.Finish(exitStatus, crashed);
  panel_->hide();
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
