#include "assets/chunk_reader.h"

#include <algorithm>
#include <cstring>

namespace orvane {

void TChunk::ReadHeader(int64_t enclosingLeft) {
  const int64_t available = std::min<int64_t>(enclosingLeft, static_cast<int64_t>(File->Left()));
  uint8_t header[6] = {};
  const size_t got = std::min<size_t>(6, File->Left());
  if (got > 0) std::memcpy(header, File->Data.data() + File->Pos, got);
  File->Pos += got;
  Consumed = static_cast<int32_t>(got);
  Id = static_cast<uint16_t>(header[0] | (header[1] << 8));
  uint32_t length = 0;
  for (int i = 3; i >= 0; --i) length = (length << 8) | header[2 + i];
  Length = static_cast<int32_t>(length);
  if (Length > available) Length = static_cast<int32_t>(available);
}

size_t TChunk::Read(uint8_t* buffer, size_t n) {
  const size_t got = std::min<size_t>(n, static_cast<size_t>(std::min<int64_t>(Left(), File->Left())));
  if (got > 0) std::memcpy(buffer, File->Data.data() + File->Pos, got);
  if (got < n) std::memset(buffer + got, 0, n - got);
  File->Pos += got;
  Add(static_cast<int64_t>(got));
  return got;
}

std::vector<uint8_t> TChunk::ReadRemaining() {
  std::vector<uint8_t> data(static_cast<size_t>(std::min<int64_t>(Left(), File->Left())));
  if (!data.empty()) Read(data.data(), data.size());
  return data;
}

std::string TChunk::ReadString(size_t keep) {
  std::string text;
  const size_t left = static_cast<size_t>(std::min<int64_t>(Left(), File->Left()));
  if (left == 0) return text;
  const uint8_t* start = File->Data.data() + File->Pos;
  const auto* zero = static_cast<const uint8_t*>(std::memchr(start, 0, left));
  const size_t taken = zero ? static_cast<size_t>(zero - start) + 1 : left;
  const size_t chars = zero ? taken - 1 : taken;
  text.assign(reinterpret_cast<const char*>(start), std::min(chars, keep));
  File->Pos += taken;
  Add(static_cast<int64_t>(taken));
  return text;
}

std::string TChunk::ReadRemainingText() {
  std::vector<uint8_t> data = ReadRemaining();
  if (!data.empty()) data.pop_back();
  const auto zero = std::find(data.begin(), data.end(), uint8_t{0});
  return std::string(data.begin(), zero);
}

void TChunk::Skip() {
  const size_t n = static_cast<size_t>(std::min<int64_t>(Left(), File->Left()));
  File->Pos += n;
  Add(static_cast<int64_t>(n));
}

}  // namespace orvane
