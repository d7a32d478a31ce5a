// The music decoder on arbitrary bytes, through a file as the program reads them, then
// the waveform envelope and the beat tracker on whatever decoded.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "media/audio_decoder.h"
#include "media/av_error.h"
#include "media/beat_detector.h"
#include "media/waveform_envelope.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (orvane::QuietAvLog(), true);
  (void)quiet;
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("orvane-music-fuzz-" + std::to_string(getpid()));
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  auto result = orvane::DecodeAudioFile(path);
  std::filesystem::remove(path);
  if (!result.Ok()) {
    if (!result.Clip.Samples.empty() || result.Message.empty()) std::abort();
    return 0;
  }
  const auto count = static_cast<int64_t>(result.Clip.Samples.size());
  if (count == 0 || count > orvane::kMaxMusicSamples) std::abort();
  // A few kilobytes of compressed silence can decode to many minutes, whose beat tracking
  // (linear in the length) would outlast the run's time limit; the first minutes show
  // every path it has.
  constexpr int64_t kTrackedSeconds = 120;
  const auto tracked = std::span<const float>(result.Clip.Samples)
                           .first(static_cast<size_t>(std::min(count, kTrackedSeconds * result.Clip.SampleRate)));
  const auto beats = orvane::DetectBeats(tracked, result.Clip.SampleRate);
  for (double beat : beats.BeatSeconds)
    if (!(beat >= 0.0 && beat < result.Clip.DurationSeconds())) std::abort();
  const orvane::WaveformEnvelope envelope(std::move(result.Clip));
  const auto columns = envelope.Columns(-0.1, envelope.DurationSeconds() / 50, 60);
  for (const auto& column : columns)
    if (column.HasAudio && !(column.Min <= column.Max)) std::abort();
  return 0;
}
