#include "compiler/show_writer.h"

#include <algorithm>
#include <cstring>

namespace orvane {

ShowWriter::ShowWriter(ShowSink& sink) : sink_(sink) { Ensure(64 * 1024); }

void ShowWriter::Ensure(size_t extra) {
  if (buffer_ && capacity_ - size_ >= extra) return;
  const size_t wanted = std::max(size_ + extra, capacity_ * 2);
  // No zero fill: every byte is written before it is sent.
  auto grown = std::make_unique_for_overwrite<uint8_t[]>(wanted);
  if (size_ != 0 && buffer_) std::memcpy(grown.get(), buffer_.get(), size_);
  buffer_ = std::move(grown);
  capacity_ = wanted;
}

void ShowWriter::BeginFrame() {
  Ensure(kFrameHeaderSize);
  frameStart_ = size_;
  std::memset(buffer_.get() + size_, 0, kFrameHeaderSize);
  size_ += kFrameHeaderSize;
}

uint8_t* ShowWriter::ReserveRecords(size_t maxCount) {
  Ensure(maxCount * kRecordSize);
  return buffer_.get() + size_;
}

void ShowWriter::AddRecord(float x, float y, float z, float red, float green, float blue, float alpha,
                           uint8_t sizeNibble) {
  EncodeRecord(ReserveRecords(1), x, y, z, red, green, blue, alpha, sizeNibble);
  CommitRecords(1);
}

uint32_t ShowWriter::RecordsInFrame() const {
  return static_cast<uint32_t>((size_ - frameStart_ - kFrameHeaderSize) / kRecordSize);
}

bool ShowWriter::EndFrame(bool lastFrame) {
  const size_t bytes = size_ - frameStart_ - kFrameHeaderSize;
  uint8_t* header = buffer_.get() + frameStart_;
  StoreU32(header, frameInBlock_);
  StoreU32(header + 4, static_cast<uint32_t>(bytes));
  records_ += bytes / kRecordSize;
  ++frames_;
  lastFrameStart_ = frameStart_;
  if (frameInBlock_ == kFullBlockLastIndex) {
    frameInBlock_ = 0;
    return SendBlock(lastFrame, kFullBlockLastIndex);
  }
  ++frameInBlock_;
  return true;
}

bool ShowWriter::Finish() {
  if (frameInBlock_ == 0) return true;
  // The closing block's last frame carries the block's frame count as its index.
  StoreU32(buffer_.get() + lastFrameStart_, frameInBlock_);
  const uint32_t last = frameInBlock_;
  frameInBlock_ = 0;
  return SendBlock(true, last);
}

bool ShowWriter::SendBlock(bool last, uint32_t lastFrameIndex) {
  uint8_t* header = buffer_.get();
  header[0] = first_ ? 1 : 0;
  header[1] = last ? 1 : 0;
  header[2] = 0;
  header[3] = 0;
  StoreU32(header + 4, lastFrameIndex);
  StoreU32(header + 8, static_cast<uint32_t>(size_ - kBlockHeaderSize));
  const bool ok = sink_.Write({buffer_.get(), size_});
  size_ = kBlockHeaderSize;
  first_ = false;
  ++blocks_;
  return ok;
}

}  // namespace orvane
