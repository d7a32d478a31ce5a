#pragma once
// Test audio this project makes: 16-bit PCM WAV files written here, click tracks, and
// the other formats through the ffmpeg command line tool.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orvane::testing {

// Interleaved frames of `channels` samples, each within -1..1.
std::string WavBytes(const std::vector<float>& interleaved, int32_t channels, int32_t sampleRate);
void WriteWav(const std::filesystem::path& path, const std::vector<float>& interleaved, int32_t channels,
              int32_t sampleRate);

// Click times of a steady tempo: `count` beats from `start` seconds.
std::vector<double> SteadyClicks(double bpm, double start, int32_t count);

// Mono samples with a short percussive click (a decaying 1.5 kHz tone over a noise
// burst) at each time, over a quiet hum so the track is never digital silence.
std::vector<float> ClickTrack(const std::vector<double>& clickSeconds, double lengthSeconds, int32_t sampleRate);

enum class EncodedFormat { Wav, Flac, Ogg, Mp3 };
const char* ExtensionOf(EncodedFormat format);

// Encodes the WAV file into `format` next to it ("<stem>.<extension>") with the ffmpeg
// tool; the WAV itself for Wav. Fails the test when ffmpeg does.
std::filesystem::path EncodeWav(const std::filesystem::path& wav, EncodedFormat format);

}  // namespace orvane::testing
