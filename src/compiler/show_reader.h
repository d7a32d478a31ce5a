#pragma once
// Reading a compiled show: block by block from a file or from bytes in memory, and frame
// by frame inside a block. Every length is checked against the bytes actually present
// before it is used; a damaged or truncated file gives a ShowFault with the byte offset
// of the first fault, and nothing is ever read past the end of a buffer.
//
// Rules a block must keep (what the writer produces and the player relies on):
// - first-block flag 1 on the first block, 0 after; last-block flag 0 or 1;
// - a last frame index of 24, or 1..24 on the closing block;
// - frames indexed 0, 1, 2 ... with the final one carrying the last frame index: 25
//   frames in a full block, n frames (the last under index n) in a closing block;
// - frame lengths a multiple of 10, of at most kMaxFrameRecords records, ending exactly
//   at the block data's end;
// - only the final block may be short, and nothing follows the final block.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compiler/show_record.h"

namespace orvane {

struct ShowFault {
  uint64_t Offset = 0;  // byte offset in the file where the fault was found
  std::string Reason;
  // The file could not be opened or is not a regular file: Reason says it all.
  bool Unreadable = false;
  // "byte N: reason", or the reason alone for a file that could not be read at all
  std::string Describe() const;
};

struct ShowBlockHeader {
  uint8_t FirstBlock = 0;
  uint8_t LastBlock = 0;
  uint32_t LastFrameIndex = 0;
  uint32_t DataLength = 0;
};

// Reads the 12 header bytes at in (the padding is skipped).
ShowBlockHeader ParseBlockHeader(const uint8_t* in);

struct ShowFrame {
  uint32_t Index = 0;                // as stored: the closing block's last frame has index n
  std::span<const uint8_t> Records;  // RecordCount() records of 10 bytes
  uint64_t Offset = 0;               // file offset of the frame header

  size_t RecordCount() const { return Records.size() / kRecordSize; }
  ParticleRecord Record(size_t i) const { return DecodeRecord(Records.data() + i * kRecordSize); }
};

// Walks the frames of one block's data. On data from ShowFileReader it never faults;
// on any other bytes it stops at the first fault.
class FrameCursor {
 public:
  static constexpr size_t kWholeData = static_cast<size_t>(-1);

  FrameCursor() = default;
  // dataOffset: file offset of the data's first byte, for fault reports. declaredBytes:
  // the block data's whole length when `data` holds only its beginning so far.
  FrameCursor(std::span<const uint8_t> data, uint32_t lastFrameIndex, uint64_t dataOffset = 0,
              size_t declaredBytes = kWholeData);

  // The next frame; false once the block is used up (Done()), at a fault (Fault()), or
  // when the frame is not all in the data yet (BytesNeeded() more bytes, then Extend).
  bool Next(ShowFrame& frame);
  size_t BytesNeeded() const { return needed_; }
  // The same data grown at its end (it may have moved).
  void Extend(std::span<const uint8_t> data);
  // The frame whose index reaches the block's last frame index has been read.
  bool Done() const { return done_; }
  const std::optional<ShowFault>& Fault() const { return fault_; }
  // Frames read so far.
  uint32_t FramesRead() const { return framesRead_; }

 private:
  bool Fail(size_t at, std::string reason);

  std::span<const uint8_t> data_;
  size_t declared_ = 0;
  size_t needed_ = 0;
  uint32_t lastFrameIndex_ = 0;
  uint64_t dataOffset_ = 0;
  size_t position_ = 0;
  uint32_t framesRead_ = 0;
  bool done_ = false;
  std::optional<ShowFault> fault_;
};

struct ShowBlock {
  ShowBlockHeader Header;
  uint64_t Offset = 0;  // file offset of the block header
  std::vector<uint8_t> Data;
  uint32_t FrameCount = 0;

  FrameCursor Frames() const { return FrameCursor(Data, Header.LastFrameIndex, Offset + kBlockHeaderSize); }
};

class ShowFileReader {
 public:
  enum class Status { kBlock, kEnd, kFault };

  ShowFileReader() = default;
  ~ShowFileReader();
  ShowFileReader(const ShowFileReader&) = delete;
  ShowFileReader& operator=(const ShowFileReader&) = delete;

  // Opens a regular file for reading; false (with Fault() set, Unreadable) when it is
  // missing, cannot be opened, or is a pipe, a folder or a device, which is never opened.
  bool Open(const std::filesystem::path& path);
  // Reads from bytes in memory, which must outlive the reader.
  void OpenBytes(std::span<const uint8_t> bytes);

  // Reads the next block: its header, then its data frame by frame, checking each frame
  // before its records are read; a declared length past the file or past
  // kMaxBlockDataBytes is refused before anything is allocated.
  // kEnd after the final block; kFault (Fault() set) on a damaged or truncated file,
  // and on every call after a fault. On the first fault inside a block whose header is
  // sound, `block` keeps the whole frames before the fault (FrameCount of them, maybe 0).
  Status ReadBlock(ShowBlock& block);

  // Nothing more to read: the final block has been read or the bytes are used up.
  bool AtEnd() const { return sawLastBlock_ || position_ >= size_; }
  uint64_t Position() const { return position_; }
  uint64_t Size() const { return size_; }
  const ShowFault& Fault() const { return fault_; }

 private:
  void Reset();
  bool ReadBytes(uint8_t* out, size_t n);
  bool ReadMore(std::vector<uint8_t>& data, size_t n);
  Status Fail(uint64_t offset, std::string reason);
  bool CheckHeader(const ShowBlockHeader& header, uint64_t offset);

  std::FILE* file_ = nullptr;
  std::span<const uint8_t> bytes_;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
  uint32_t blocksRead_ = 0;
  bool sawLastBlock_ = false;
  bool failed_ = false;
  ShowFault fault_;
};

}  // namespace orvane
