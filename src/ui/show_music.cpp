#include "ui/show_music.h"

#include <cmath>

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include "model/music_sync.h"

namespace orvane {
namespace {

// Ticks after a seek before the player's position is trusted again: the position the
// backend reports lags a seek by a few of them.
constexpr int kSeekSettleTicks = 6;

}  // namespace

ShowMusic::ShowMusic(QObject* parent) : QObject(parent) {
  if (QMediaDevices::audioOutputs().isEmpty()) return;
  player_ = new QMediaPlayer(this);
  output_ = new QAudioOutput(this);
  player_->setAudioOutput(output_);
  connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& text) {
    ReportSilent(QStringLiteral("The music cannot play (%1): the show plays without sound.").arg(text));
  });
}

ShowMusic::~ShowMusic() { Stop(); }

void ShowMusic::ReportSilent(const QString& why) {
  if (why == lastSilence_) return;
  lastSilence_ = why;
  emit Silent(why);
}

void ShowMusic::SetSource(const std::optional<std::filesystem::path>& file, double offsetSeconds) {
  offset_ = offsetSeconds;
  hasSource_ = file.has_value();
  if (!file) {
    if (player_) player_->setSource({});
    return;
  }
  if (!player_) {
    ReportSilent(QStringLiteral("No audio output: the show plays without sound."));
    return;
  }
  const QUrl url = QUrl::fromLocalFile(QString::fromStdString(file->string()));
  if (player_->source() != url) player_->setSource(url);
}

void ShowMusic::Follow(double showSeconds, bool paused) {
  if (!player_ || !hasSource_) return;
  const bool playing = player_->playbackState() == QMediaPlayer::PlayingState;
  if (paused) {
    if (playing) player_->pause();
    return;
  }
  if (settleTicks_ > 0) {
    --settleTicks_;
    return;
  }
  const MusicSyncStep step =
      DecideMusicSync(showSeconds, offset_, player_->position() / 1000.0, player_->duration() / 1000.0, playing);
  switch (step.Action) {
    case MusicAction::Keep: return;
    case MusicAction::Seek:
      player_->setPosition(static_cast<qint64>(std::llround(step.TargetSeconds * 1000.0)));
      if (!playing) player_->play();
      ++seeks_;
      settleTicks_ = kSeekSettleTicks;
      return;
    case MusicAction::Wait:
      if (playing) player_->pause();
      player_->setPosition(0);
      return;
    case MusicAction::Finish:
      if (player_->playbackState() != QMediaPlayer::StoppedState) player_->stop();
      return;
  }
}

void ShowMusic::Stop() {
  settleTicks_ = 0;
  if (player_ && player_->playbackState() != QMediaPlayer::StoppedState) player_->stop();
}

}  // namespace orvane
