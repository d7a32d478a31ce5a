#include "wav_bytes.h"

#include <cmath>

namespace orvane::testing {
namespace {

void Put(std::string& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string PcmWavBytes(const std::vector<int16_t>& interleaved, int32_t channels, int32_t rate) {
  const auto data = static_cast<uint32_t>(interleaved.size() * 2);
  std::string b = "RIFF";
  Put(b, 36 + data, 4);
  b += "WAVEfmt ";
  Put(b, 16, 4);
  Put(b, 1, 2);  // PCM
  Put(b, static_cast<uint32_t>(channels), 2);
  Put(b, static_cast<uint32_t>(rate), 4);
  Put(b, static_cast<uint32_t>(rate * channels * 2), 4);
  Put(b, static_cast<uint32_t>(channels * 2), 2);
  Put(b, 16, 2);
  b += "data";
  Put(b, data, 4);
  for (int16_t s : interleaved) Put(b, static_cast<uint16_t>(s), 2);
  return b;
}

std::string WavBytes(const std::vector<StereoSample>& samples, int32_t rate) {
  std::vector<int16_t> interleaved;
  interleaved.reserve(samples.size() * 2);
  for (const StereoSample& s : samples) {
    interleaved.push_back(s.Left);
    interleaved.push_back(s.Right);
  }
  return PcmWavBytes(interleaved, 2, rate);
}

std::vector<StereoSample> Level(double seconds, int32_t rate, int16_t left, int16_t right) {
  return std::vector<StereoSample>(static_cast<size_t>(std::llround(seconds * rate)), StereoSample{left, right});
}

}  // namespace orvane::testing
