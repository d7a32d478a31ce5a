#include "audio_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>

#include "wav_bytes.h"

namespace orvane::testing {
std::string WavBytes(const std::vector<float>& interleaved, int32_t channels, int32_t sampleRate) {
  std::vector<int16_t> samples;
  samples.reserve(interleaved.size());
  for (float sample : interleaved) {
    samples.push_back(static_cast<int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f)));
  }
  return PcmWavBytes(samples, channels, sampleRate);
}

void WriteWav(const std::filesystem::path& path, const std::vector<float>& interleaved, int32_t channels,
              int32_t sampleRate) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << WavBytes(interleaved, channels, sampleRate);
  ASSERT_TRUE(out.good()) << path;
}

std::vector<double> SteadyClicks(double bpm, double start, int32_t count) {
  std::vector<double> clicks;
  for (int32_t i = 0; i < count; ++i) clicks.push_back(start + i * 60.0 / bpm);
  return clicks;
}

std::vector<float> ClickTrack(const std::vector<double>& clickSeconds, double lengthSeconds, int32_t sampleRate) {
  const auto length = static_cast<size_t>(lengthSeconds * sampleRate);
  std::vector<float> samples(length);
  for (size_t i = 0; i < length; ++i)
    samples[i] = 0.01f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 110.0 * i / sampleRate));
  uint32_t noise = 12345;
  const auto clickLength = static_cast<size_t>(0.03 * sampleRate);
  for (double at : clickSeconds) {
    const auto first = static_cast<size_t>(std::llround(at * sampleRate));
    for (size_t i = 0; i < clickLength && first + i < length; ++i) {
      noise = noise * 1664525u + 1013904223u;
      const double t = static_cast<double>(i) / sampleRate;
      const double decay = std::exp(-t / 0.006);
      const double tone = std::sin(2.0 * std::numbers::pi * 1500.0 * t);
      const double hiss = (static_cast<double>(noise >> 8) / (1u << 24)) * 2.0 - 1.0;
      samples[first + i] += static_cast<float>(0.8 * decay * (0.6 * tone + 0.4 * hiss));
    }
  }
  return samples;
}

const char* ExtensionOf(EncodedFormat format) {
  switch (format) {
    case EncodedFormat::Wav: return "wav";
    case EncodedFormat::Flac: return "flac";
    case EncodedFormat::Ogg: return "ogg";
    case EncodedFormat::Mp3: return "mp3";
  }
  return "";
}

std::filesystem::path EncodeWav(const std::filesystem::path& wav, EncodedFormat format) {
  if (format == EncodedFormat::Wav) return wav;
  auto out = wav;
  out.replace_extension(ExtensionOf(format));
  const char* codec = format == EncodedFormat::Flac  ? "-c:a flac"
                      : format == EncodedFormat::Ogg ? "-c:a libvorbis -q:a 5"
                                                     : "-c:a libmp3lame -b:a 192k";
  const std::string command =
      "ffmpeg -nostdin -hide_banner -loglevel error -y -i '" + wav.string() + "' " + codec + " '" + out.string() + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return out;
}

}  // namespace orvane::testing
