// The music decoder on arbitrary bytes, through a file as the program reads them, then
// the waveform envelope and the beat tracker on whatever decoded.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "media/audio_decoder.h"
#include "media/beat_detector.h"
#include "media/waveform_envelope.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (orvane::QuietCodecLog(), true);
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
  const auto beats = orvane::DetectBeats(result.Clip.Samples, result.Clip.SampleRate);
  for (double beat : beats.BeatSeconds)
    if (!(beat >= 0.0 && beat < result.Clip.DurationSeconds())) std::abort();
  const orvane::WaveformEnvelope envelope(std::move(result.Clip));
  const auto columns = envelope.Columns(-0.1, envelope.DurationSeconds() / 50, 60);
  for (const auto& column : columns)
    if (column.HasAudio && !(column.Min <= column.Max)) std::abort();
  return 0;
}
