#include "media/wav_extent.h"

#include <unistd.h>

#include <array>
#include <cassert>
#include <cerrno>
#include <cstring>
#include <span>

#include "util/byte_reader.h"

namespace orvane {
namespace {

// Real files have a handful of chunks before the data; a header with more is not trusted.
constexpr int kMaxChunksBeforeData = 64;

template <size_t N>
bool ReadExactly(int fd, uint64_t at, std::array<uint8_t, N>& bytes) {
  size_t done = 0;
  while (done < N) {
    const ssize_t n = pread(fd, bytes.data() + done, N - done, static_cast<off_t>(at + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool IsTag(std::span<const uint8_t> bytes, const char (&tag)[5]) {
  assert(bytes.size() >= 4);
  return std::memcmp(bytes.data(), tag, 4) == 0;
}

}  // namespace

std::optional<WavExtent> ReadWavExtent(int fd, uint64_t fileSize) {
  std::array<uint8_t, 12> riff{};
  if (!ReadExactly(fd, 0, riff) || !IsTag(riff, "RIFF") || !IsTag(std::span(riff).subspan(8), "WAVE"))
    return std::nullopt;

  uint64_t position = riff.size();
  uint32_t byteRate = 0;
  for (int chunk = 0; chunk < kMaxChunksBeforeData; ++chunk) {
    std::array<uint8_t, 8> header{};
    if (!ReadExactly(fd, position, header)) return std::nullopt;
    position += header.size();
    ByteReader fields(header);
    fields.Skip(4);  // the tag
    const uint32_t size = fields.U32();
    if (IsTag(header, "data")) {
      if (byteRate == 0 || size == 0 || size == 0xFFFFFFFFu) return std::nullopt;
      return WavExtent{size, fileSize - position, byteRate};
    }
    if (IsTag(header, "fmt ") && size >= 16) {
      std::array<uint8_t, 16> format{};
      if (!ReadExactly(fd, position, format)) return std::nullopt;
      ByteReader formatFields(format);
      formatFields.Seek(8);  // after the encoding, channels and sample rate
      byteRate = formatFields.U32();
      position += format.size();
      const uint64_t rest = size - format.size() + (size & 1u);
      position += rest;
    } else {
      position += uint64_t{size} + (size & 1u);  // chunks are padded to even sizes
    }
    if (position >= fileSize) return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace orvane
