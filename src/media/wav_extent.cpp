#include "media/wav_extent.h"

#include <array>
#include <cstring>
#include <fstream>

namespace orvane {
namespace {

// Real files have a handful of chunks before the data; a header with more is not trusted.
constexpr int kMaxChunksBeforeData = 64;

uint32_t Le32(const char* bytes) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[i]);
  return value;
}

}  // namespace

std::optional<WavExtent> ReadWavExtent(const std::filesystem::path& path) {
  std::error_code error;
  const uint64_t fileSize = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::array<char, 12> riff{};
  if (!in.read(riff.data(), riff.size()) || std::memcmp(riff.data(), "RIFF", 4) != 0 ||
      std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
    return std::nullopt;

  uint64_t position = riff.size();
  uint32_t byteRate = 0;
  for (int chunk = 0; chunk < kMaxChunksBeforeData; ++chunk) {
    std::array<char, 8> header{};
    if (!in.read(header.data(), header.size())) return std::nullopt;
    position += header.size();
    const uint32_t size = Le32(header.data() + 4);
    if (std::memcmp(header.data(), "data", 4) == 0) {
      if (byteRate == 0 || size == 0 || size == 0xFFFFFFFFu) return std::nullopt;
      return WavExtent{size, fileSize - position, byteRate};
    }
    if (std::memcmp(header.data(), "fmt ", 4) == 0 && size >= 16) {
      std::array<char, 16> format{};
      if (!in.read(format.data(), format.size())) return std::nullopt;
      byteRate = Le32(format.data() + 8);
      position += format.size();
      const uint64_t rest = size - format.size() + (size & 1u);
      position += rest;
    } else {
      position += uint64_t{size} + (size & 1u);  // chunks are padded to even sizes
    }
    if (position >= fileSize) return std::nullopt;
    in.seekg(static_cast<std::streamoff>(position));
  }
  return std::nullopt;
}

}  // namespace orvane
