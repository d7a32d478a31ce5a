#pragma once
// Keeps the music in step with a playing show. The show's frame clock is the master: the
// music is told where to be, never the other way round.

namespace orvane {

// Music further than this from where the show says it should be is sought back.
inline constexpr double kMusicDriftLimitSeconds = 0.040;

enum class MusicAction {
  Keep,   // playing close enough
  Seek,   // play from TargetSeconds
  Wait,   // the show is before the music's start: music paused at its start
  Finish  // the show is past the music's end: music stopped
};

struct MusicSyncStep {
  MusicAction Action = MusicAction::Keep;
  double TargetSeconds = 0;  // position in the music file
};

// `offset_seconds` is the music position at show time 0 (negative: the music starts later).
// `music_length_seconds` <= 0 when not known yet.
double MusicSecondAt(double show_seconds, double offset_seconds);
MusicSyncStep DecideMusicSync(double show_seconds, double offset_seconds, double music_seconds,
                              double music_length_seconds, bool music_playing);

}  // namespace orvane
