#include "model/music_sync.h"

#include <cmath>

namespace orvane {

double MusicSecondAt(double show_seconds, double offset_seconds) { return show_seconds + offset_seconds; }

MusicSyncStep DecideMusicSync(double show_seconds, double offset_seconds, double music_seconds,
                              double music_length_seconds, bool music_playing) {
  const double target = MusicSecondAt(show_seconds, offset_seconds);
  if (!std::isfinite(target)) return {MusicAction::Keep, 0};
  if (target < 0) return {MusicAction::Wait, 0};
  if (music_length_seconds > 0 && target >= music_length_seconds) return {MusicAction::Finish, music_length_seconds};
  if (!music_playing || !std::isfinite(music_seconds)) return {MusicAction::Seek, target};
  if (std::abs(music_seconds - target) > kMusicDriftLimitSeconds) return {MusicAction::Seek, target};
  return {MusicAction::Keep, target};
}

}  // namespace orvane
