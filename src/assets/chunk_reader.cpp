#include "assets/chunk_reader.h"

#include <algorithm>

namespace orvane {

namespace {

// What is left of both this chunk and the file.
size_t Available(const TChunk& chunk) {
  return static_cast<size_t>(std::min<int64_t>(chunk.Left(), static_cast<int64_t>(chunk.File->Remaining())));
}

}  // namespace

void TChunk::ReadHeader(int64_t enclosingLeft) {
  const int64_t available = std::min<int64_t>(enclosingLeft, static_cast<int64_t>(File->Remaining()));
  const size_t start = File->Position();
  Id = File->U16();
  Length = static_cast<int32_t>(File->U32());
  Consumed = static_cast<int32_t>(File->Position() - start);
  if (Length > available) Length = static_cast<int32_t>(available);
}

size_t TChunk::Read(uint8_t* buffer, size_t n) {
  const std::span<const uint8_t> got = File->Bytes(std::min(n, Available(*this)));
  std::copy(got.begin(), got.end(), buffer);
  std::fill(buffer + got.size(), buffer + n, uint8_t{0});
  Add(static_cast<int64_t>(got.size()));
  return got.size();
}

std::vector<uint8_t> TChunk::ReadRemaining() {
  const std::span<const uint8_t> got = File->Bytes(Available(*this));
  Add(static_cast<int64_t>(got.size()));
  return std::vector<uint8_t>(got.begin(), got.end());
}

std::string TChunk::ReadString(size_t keep) {
  const std::span<const uint8_t> left = File->Rest().first(Available(*this));
  const auto zero = std::find(left.begin(), left.end(), uint8_t{0});
  const size_t chars = static_cast<size_t>(zero - left.begin());
  const size_t taken = zero != left.end() ? chars + 1 : chars;
  File->Skip(taken);
  Add(static_cast<int64_t>(taken));
  return std::string(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(std::min(chars, keep)));
}

std::string TChunk::ReadRemainingText() {
  std::vector<uint8_t> data = ReadRemaining();
  if (!data.empty()) data.pop_back();
  const auto zero = std::find(data.begin(), data.end(), uint8_t{0});
  return std::string(data.begin(), zero);
}

void TChunk::Skip() {
  const size_t n = Available(*this);
  File->Skip(n);
  Add(static_cast<int64_t>(n));
}

}  // namespace orvane
