#pragma once
// Test music: 16-bit stereo WAV files built in memory, sample by sample.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::testing {

struct StereoSample {
  int16_t Left = 0, Right = 0;
};

// 16-bit PCM, samples interleaved channel by channel.
std::string PcmWavBytes(const std::vector<int16_t>& interleaved, int32_t channels, int32_t rate);
std::string WavBytes(const std::vector<StereoSample>& samples, int32_t rate);
// `seconds` of a constant level per channel.
std::vector<StereoSample> Level(double seconds, int32_t rate, int16_t left, int16_t right);

}  // namespace orvane::testing
