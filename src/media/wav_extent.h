#pragma once
// What a RIFF/WAVE header says about its sample data. FFmpeg reads a WAV file to its end
// and takes the length from the bytes present, so a file cut short (an interrupted copy)
// would pass as a shorter piece; the header's data size tells the two apart.

#include <cstdint>
#include <optional>

namespace orvane {

struct WavExtent {
  uint64_t DeclaredDataBytes = 0;  // the data chunk's stated size
  uint64_t PresentDataBytes = 0;   // the bytes from the data chunk's start to the file's end
  uint32_t ByteRate = 0;           // from the fmt chunk, never 0

  double DeclaredSeconds() const { return static_cast<double>(DeclaredDataBytes) / ByteRate; }
  double PresentSeconds() const { return static_cast<double>(PresentDataBytes) / ByteRate; }
};

// Nothing for files that are no WAV, have no fmt chunk before the data, or leave the data
// size open (0 or 0xFFFFFFFF, as streaming writers do). Reads the open file `fd` of
// `fileSize` bytes at its offsets, leaving its position alone.
std::optional<WavExtent> ReadWavExtent(int fd, uint64_t fileSize);

}  // namespace orvane
