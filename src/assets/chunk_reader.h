#pragma once
// TChunk: the reader of one 3DS chunk over the file's bytes, with the counting rule
// (Consumed counts what this level has read, its header included). No read goes past
// the chunk's end, the enclosing chunk's end or the end of the data.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "util/byte_reader.h"

namespace orvane {

class T3DModel;

class TChunk {
 public:
  TChunk(T3DModel& model, ByteReader& file, int depth = 0) : Model(&model), File(&file), Depth(depth) {}

  uint16_t Id = 0;
  int32_t Length = 0;
  int32_t Consumed = 0;
  T3DModel* Model;
  ByteReader* File;  // the whole file's bytes; the 3DS rule reads what is missing as zero
  int Depth;         // nesting level, so crafted files cannot nest without bound

  // Reads the 6-byte header (fewer at the end of the data). A declared length beyond
  // `enclosingLeft` or beyond the data is cut to what is really there.
  void ReadHeader(int64_t enclosingLeft);
  // Reads up to n bytes of this chunk into `buffer`, zero-filling what is not there;
  // returns the bytes really read (counted).
  size_t Read(uint8_t* buffer, size_t n);
  // The rest of this chunk's data (counted).
  std::vector<uint8_t> ReadRemaining();
  // A zero-terminated string, terminator included in the count; keeps at most `keep` bytes.
  std::string ReadString(size_t keep);
  // The rest of the data as text: the last byte (the terminator) dropped, cut at a zero.
  std::string ReadRemainingText();
  void Skip();
  void Add(int64_t n) { Consumed = static_cast<int32_t>(Consumed + n); }
  bool HasMore() const { return Consumed < Length && !File->AtEnd(); }
  int64_t Left() const { return Consumed < Length ? int64_t{Length} - Consumed : 0; }
};

}  // namespace orvane
