#include "compiler/show_writer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <new>

namespace orvane {

namespace {

constexpr size_t kPage = 4096;

// Big buffers take huge pages where the system offers them on request: a fresh block
// buffer otherwise costs a page fault every 4 KiB.
void AskForHugePages(uint8_t* bytes, size_t size) {
#if defined(MADV_HUGEPAGE)
  if (size >= (size_t{8} << 20)) madvise(bytes, size, MADV_HUGEPAGE);  // a hint only
#else
  (void)bytes;
  (void)size;
#endif
}

}  // namespace

ShowWriter::ShowWriter(ShowSink& sink) : sink_(sink) { Ensure(64 * 1024); }

ShowWriter::~ShowWriter() {
  if (buffer_ != nullptr) munmap(buffer_, capacity_);
}

void ShowWriter::Ensure(size_t extra) {
  if (buffer_ != nullptr && capacity_ - size_ >= extra) return;
  // Whole pages; no zero fill needed, every byte is written before it is sent.
  const size_t wanted = (std::max(size_ + extra, capacity_ * 2) + kPage - 1) & ~(kPage - 1);
  void* grown = buffer_ == nullptr ? mmap(nullptr, wanted, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                                   : mremap(buffer_, capacity_, wanted, MREMAP_MAYMOVE);
  if (grown == MAP_FAILED) throw std::bad_alloc();
  buffer_ = static_cast<uint8_t*>(grown);
  capacity_ = wanted;
  AskForHugePages(buffer_, capacity_);
}

void ShowWriter::BeginFrame() {
  Ensure(kFrameHeaderSize);
  frameStart_ = size_;
  std::memset(buffer_ + size_, 0, kFrameHeaderSize);
  size_ += kFrameHeaderSize;
}

uint8_t* ShowWriter::ReserveRecords(size_t maxCount) {
  Ensure(maxCount * kRecordSize);
  return buffer_ + size_;
}

void ShowWriter::AddRecord(float x, float y, float z, float red, float green, float blue, float alpha,
                           uint8_t sizeNibble) {
  if (EncodeRecord(ReserveRecords(1), x, y, z, red, green, blue, alpha, sizeNibble)) CommitRecords(1);
}

bool ShowWriter::EndFrame(bool lastFrame) {
  const size_t bytes = size_ - frameStart_ - kFrameHeaderSize;
  uint8_t* header = buffer_ + frameStart_;
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
  StoreU32(buffer_ + lastFrameStart_, frameInBlock_);
  const uint32_t last = frameInBlock_;
  frameInBlock_ = 0;
  return SendBlock(true, last);
}

bool ShowWriter::SendBlock(bool last, uint32_t lastFrameIndex) {
  // Rules the reader checks: a last frame index of 1..24 and a length that fits 32 bits.
  assert(lastFrameIndex >= 1 && lastFrameIndex <= kFullBlockLastIndex);
  assert(size_ - kBlockHeaderSize <= UINT32_MAX);
  uint8_t* header = buffer_;
  header[0] = first_ ? 1 : 0;
  header[1] = last ? 1 : 0;
  header[2] = 0;
  header[3] = 0;
  StoreU32(header + 4, lastFrameIndex);
  StoreU32(header + 8, static_cast<uint32_t>(size_ - kBlockHeaderSize));
  const bool ok = sink_.Write({buffer_, size_});
  size_ = kBlockHeaderSize;
  first_ = false;
  ++blocks_;
  return ok;
}

}  // namespace orvane
