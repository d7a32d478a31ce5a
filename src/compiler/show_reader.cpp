#include "compiler/show_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "util/byte_reader.h"
#include "util/regular_file.h"

namespace orvane {
namespace {

constexpr size_t kReadSlice = size_t{16} << 20;

std::string Num(uint64_t v) { return std::to_string(v); }

}  // namespace

std::string ShowFault::Describe() const { return Unreadable ? Reason : "byte " + Num(Offset) + ": " + Reason; }

ShowBlockHeader ParseBlockHeader(const uint8_t* in) {
  ByteReader bytes({in, kBlockHeaderSize});
  ShowBlockHeader h;
  h.FirstBlock = bytes.U8();
  h.LastBlock = bytes.U8();
  bytes.Skip(2);
  h.LastFrameIndex = bytes.U32();
  h.DataLength = bytes.U32();
  return h;
}

FrameCursor::FrameCursor(std::span<const uint8_t> data, uint32_t lastFrameIndex, uint64_t dataOffset,
                         size_t declaredBytes)
    : data_(data),
      declared_(std::max(declaredBytes == kWholeData ? data.size() : declaredBytes, data.size())),
      lastFrameIndex_(lastFrameIndex),
      dataOffset_(dataOffset) {}

void FrameCursor::Extend(std::span<const uint8_t> data) {
  data_ = data;
  declared_ = std::max(declared_, data.size());
}

bool FrameCursor::Fail(size_t at, std::string reason) {
  fault_ = ShowFault{dataOffset_ + at, std::move(reason)};
  return false;
}

bool FrameCursor::Next(ShowFrame& frame) {
  needed_ = 0;
  if (done_ || fault_) return false;
  const size_t left = declared_ - position_;
  const size_t present = data_.size() - position_;
  if (left == 0) return Fail(position_, "the block data ends before the block's last frame");
  if (framesRead_ >= kFramesPerBlock) return Fail(position_, "the block holds more than 25 frames");
  if (left < kFrameHeaderSize) return Fail(position_, "frame header cut short (" + Num(left) + " of 8 bytes)");
  if (present < kFrameHeaderSize) {
    needed_ = kFrameHeaderSize - present;
    return false;
  }
  ByteReader header(data_.subspan(position_, kFrameHeaderSize));
  const uint32_t index = header.U32();
  const uint32_t length = header.U32();
  if (length % kRecordSize != 0) return Fail(position_ + 4, "frame length " + Num(length) + " is not a multiple of 10");
  if (length / kRecordSize > kMaxFrameRecords)
    return Fail(position_ + 4, "frame records of " + Num(length) + " bytes are more than a frame holds (" +
                                   Num(kMaxFrameRecords) + " records)");
  if (length > left - kFrameHeaderSize)
    return Fail(position_ + 4, "frame records of " + Num(length) + " bytes run past the block data (" +
                                   Num(left - kFrameHeaderSize) + " bytes left)");
  const uint32_t k = framesRead_;
  const std::string where = "frame " + Num(k) + " has index " + Num(index);
  bool last = false;
  if (index >= lastFrameIndex_) {
    // The final frame: index 24 after 24 frames (full block), or n after n - 1 frames.
    const bool full = lastFrameIndex_ == kFullBlockLastIndex && k == kFullBlockLastIndex;
    if (index != lastFrameIndex_ || !(full || k + 1 == lastFrameIndex_))
      return Fail(position_, where + " (the block's last frame index is " + Num(lastFrameIndex_) + ")");
    last = true;
  } else if (index != k) {
    return Fail(position_, where);
  }
  if (present - kFrameHeaderSize < length) {
    needed_ = length - (present - kFrameHeaderSize);
    return false;
  }
  const size_t at = position_;
  position_ += kFrameHeaderSize + length;
  ++framesRead_;
  done_ = last;
  if (done_ && position_ != declared_)
    return Fail(position_, Num(declared_ - position_) + " bytes follow the block's last frame");
  frame.Index = index;
  frame.Records = data_.subspan(at + kFrameHeaderSize, length);
  frame.Offset = dataOffset_ + at;
  return true;
}

ShowFileReader::~ShowFileReader() { Reset(); }

void ShowFileReader::Reset() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  bytes_ = {};
  size_ = position_ = 0;
  blocksRead_ = 0;
  sawLastBlock_ = failed_ = false;
  fault_ = {};
}

bool ShowFileReader::Open(const std::filesystem::path& path) {
  Reset();
  auto refuse = [this](std::string reason) {
    Fail(0, std::move(reason));
    fault_.Unreadable = true;
    return false;
  };
  const RegularFile opened = OpenRegularFile(path);
  if (opened.Fault == RegularFileFault::kNotRegular) return refuse(path.string() + " is not a regular file");
  if (opened.Fault != RegularFileFault::kNone)
    return refuse("cannot open " + path.string() + ": " + std::strerror(opened.Errno));
  file_ = fdopen(opened.Fd, "rb");
  if (file_ == nullptr) {
    const int error = errno;
    close(opened.Fd);
    return refuse("cannot open " + path.string() + ": " + std::strerror(error));
  }
  size_ = opened.Size;
  return true;
}

void ShowFileReader::OpenBytes(std::span<const uint8_t> bytes) {
  Reset();
  bytes_ = bytes;
  size_ = bytes.size();
}

ShowFileReader::Status ShowFileReader::Fail(uint64_t offset, std::string reason) {
  failed_ = true;
  fault_ = ShowFault{offset, std::move(reason)};
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  return Status::kFault;
}

bool ShowFileReader::ReadMore(std::vector<uint8_t>& data, size_t n) {
  // In slices, so the buffer grows only as far as the file really delivers.
  while (n > 0) {
    const size_t slice = std::min(n, kReadSlice);
    const size_t start = data.size();
    data.resize(start + slice);
    if (!ReadBytes(data.data() + start, slice)) {
      data.resize(start);
      return false;
    }
    n -= slice;
  }
  return true;
}

bool ShowFileReader::ReadBytes(uint8_t* out, size_t n) {
  if (n == 0) return true;
  if (file_ != nullptr) {
    if (std::fread(out, 1, n, file_) != n) return false;
  } else {
    ByteReader rest(bytes_);
    rest.Seek(static_cast<size_t>(position_));
    const std::span<const uint8_t> got = rest.Bytes(n);
    if (rest.Failed()) return false;
    std::copy(got.begin(), got.end(), out);
  }
  position_ += n;
  return true;
}

bool ShowFileReader::CheckHeader(const ShowBlockHeader& h, uint64_t offset) {
  const std::string block = "block " + Num(blocksRead_);
  const uint8_t expectedFirst = blocksRead_ == 0 ? 1 : 0;
  if (h.FirstBlock != expectedFirst) {
    Fail(offset, block + " has first-block flag " + Num(h.FirstBlock));
    return false;
  }
  if (h.LastBlock > 1) {
    Fail(offset + 1, block + " has last-block flag " + Num(h.LastBlock));
    return false;
  }
  if (h.LastFrameIndex == 0 || h.LastFrameIndex > kFullBlockLastIndex) {
    Fail(offset + 4, block + " has last frame index " + Num(h.LastFrameIndex) + " (1 to 24 expected)");
    return false;
  }
  if (h.LastFrameIndex != kFullBlockLastIndex && h.LastBlock == 0) {
    Fail(offset + 4, block + " is short (last frame index " + Num(h.LastFrameIndex) + ") but not the last block");
    return false;
  }
  return true;
}

namespace {

// Cuts a faulty block's data down to the whole frames before the fault, so that a player
// can still show a damaged file up to its last whole frame.
void KeepWholeFrames(ShowBlock& block) {
  FrameCursor frames = block.Frames();
  ShowFrame frame;
  size_t end = 0;
  uint32_t count = 0;
  while (frames.Next(frame)) {
    end = static_cast<size_t>(frame.Offset - block.Offset - kBlockHeaderSize) + kFrameHeaderSize + frame.Records.size();
    ++count;
  }
  block.Data.resize(end);
  block.FrameCount = count;
}

}  // namespace

ShowFileReader::Status ShowFileReader::ReadBlock(ShowBlock& block) {
  block = ShowBlock{};
  if (failed_) return Status::kFault;
  const uint64_t offset = position_;
  const uint64_t left = size_ - position_;
  if (sawLastBlock_) {
    if (left != 0) return Fail(offset, Num(left) + " bytes follow the last block");
    return Status::kEnd;
  }
  if (left == 0) {
    if (blocksRead_ == 0) return Fail(0, "the file is empty");
    return Fail(offset, "the file ends without its last block");
  }
  if (left < kBlockHeaderSize) return Fail(offset, "block header cut short (" + Num(left) + " of 12 bytes)");
  uint8_t raw[kBlockHeaderSize];
  if (!ReadBytes(raw, kBlockHeaderSize)) return Fail(offset, "read error");
  const ShowBlockHeader header = ParseBlockHeader(raw);
  if (!CheckHeader(header, offset)) return Status::kFault;
  block.Header = header;
  block.Offset = offset;
  const uint64_t present = left - kBlockHeaderSize;
  if (header.DataLength > kMaxBlockDataBytes)
    return Fail(offset + 8, "block data of " + Num(header.DataLength) + " bytes is more than a block holds (" +
                                Num(kMaxBlockDataBytes) + ")");
  const uint64_t wanted = std::min<uint64_t>(header.DataLength, present);
  FrameCursor frames(block.Data, header.LastFrameIndex, offset + kBlockHeaderSize, static_cast<size_t>(wanted));
  try {
    // Frame by frame, checking each header before its records are read: memory follows
    // the bytes really there, and a damaged block is refused at its first bad frame.
    ShowFrame frame;
    while (!frames.Done() && !frames.Fault()) {
      if (frames.Next(frame)) continue;
      if (frames.Fault() || frames.BytesNeeded() == 0) break;
      if (!ReadMore(block.Data, frames.BytesNeeded())) {
        block.Data.clear();
        return Fail(position_, "read error");
      }
      frames.Extend(block.Data);
    }
  } catch (const std::bad_alloc&) {
    block.Data.clear();
    return Fail(offset + 8, "block data of " + Num(header.DataLength) + " bytes does not fit in memory");
  }
  if (header.DataLength > present) {
    KeepWholeFrames(block);
    return Fail(offset + 8, "block data of " + Num(header.DataLength) + " bytes runs past the end of the file (" +
                                Num(present) + " bytes left)");
  }
  if (frames.Fault()) {
    const ShowFault fault = *frames.Fault();
    KeepWholeFrames(block);
    // The rest of a refused block is not read: nothing after it can be trusted.
    return Fail(fault.Offset, fault.Reason);
  }
  block.FrameCount = frames.FramesRead();
  if (header.LastBlock == 0 && frames.FramesRead() != kFramesPerBlock)
    return Fail(offset + 4, "block " + Num(blocksRead_) + " holds " + Num(frames.FramesRead()) +
                                " frames but is not the last block");
  ++blocksRead_;
  sawLastBlock_ = header.LastBlock != 0;
  return Status::kBlock;
}

}  // namespace orvane
