#pragma once
// The show's music while the show plays. The show's frame clock is the master: at every
// follow tick the music is told where to be (DecideMusicSync) and sought when it drifts.
// Without an audio output the show plays silently; the reason is reported once.

#include <filesystem>
#include <optional>

#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;

namespace orvane {

class ShowMusic : public QObject {
  Q_OBJECT
 public:
  explicit ShowMusic(QObject* parent = nullptr);
  ~ShowMusic() override;

  // The music to play (none: silence) and its time at show time 0.
  void SetSource(const std::optional<std::filesystem::path>& file, double offsetSeconds);
  // At each tick of a playing show.
  void Follow(double showSeconds, bool paused);
  void Stop();

  bool HasOutput() const { return player_ != nullptr; }
  int Seeks() const { return seeks_; }
  // The reason last reported through Silent; empty when none was.
  const QString& SilentReason() const { return lastSilence_; }

 signals:
  // The music stays silent; emitted once per reason.
  void Silent(const QString& why);

 private:
  void ReportSilent(const QString& why);

  QMediaPlayer* player_ = nullptr;
  QAudioOutput* output_ = nullptr;
  double offset_ = 0;
  bool hasSource_ = false;
  int seeks_ = 0;
  int settleTicks_ = 0;
  QString lastSilence_;
};

}  // namespace orvane
