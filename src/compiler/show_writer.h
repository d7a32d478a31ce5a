#pragma once
// Assembles a compiled show: frames collect in the open block, and every 25 frames the
// block goes to the sink in one write. The closing block of n < 25 frames carries its
// last frame under index n, as the player expects.

#include <cassert>
#include <cstddef>
#include <cstdint>

#include "compiler/show_record.h"
#include "compiler/show_sink.h"

namespace orvane {

class ShowWriter {
 public:
  explicit ShowWriter(ShowSink& sink);
  ~ShowWriter();
  ShowWriter(const ShowWriter&) = delete;
  ShowWriter& operator=(const ShowWriter&) = delete;

  // Opens a frame: an 8-byte header placeholder, patched by EndFrame.
  void BeginFrame();
  // Room for up to maxCount records at the end of the open frame; CommitRecords(n) then
  // keeps the first n. The pointer stays valid until the next call on the writer.
  uint8_t* ReserveRecords(size_t maxCount);
  void CommitRecords(size_t count) {
    assert(count * kRecordSize <= capacity_ - size_);
    size_ += count * kRecordSize;
  }
  // One record; culled (left out) when a position does not fit the file (PositionFits).
  void AddRecord(float x, float y, float z, float red, float green, float blue, float alpha, uint8_t sizeNibble);

  // Closes the frame. A full block goes to the sink, flagged as the last one when
  // lastFrame is set. False when the sink failed.
  bool EndFrame(bool lastFrame);
  // Sends the open block, if it holds frames, as the closing block. False on failure.
  bool Finish();

  // Frames in the open block after the last EndFrame (0 right after a full block).
  uint32_t FramesInOpenBlock() const { return frameInBlock_; }
  // Bytes of the open block's data so far.
  size_t OpenBlockBytes() const { return size_ - kBlockHeaderSize; }
  uint64_t Frames() const { return frames_; }
  uint64_t Blocks() const { return blocks_; }
  uint64_t Records() const { return records_; }

 private:
  void Ensure(size_t extra);
  bool SendBlock(bool last, uint32_t lastFrameIndex);

  ShowSink& sink_;
  // The open block: 12 bytes for its header, then the frames. A busy show's block runs to
  // hundreds of megabytes: its pages come from the kernel, and grow without being copied.
  uint8_t* buffer_ = nullptr;
  size_t size_ = kBlockHeaderSize;
  size_t capacity_ = 0;
  size_t frameStart_ = 0;
  size_t lastFrameStart_ = 0;
  uint32_t frameInBlock_ = 0;
  bool first_ = true;
  uint64_t frames_ = 0;
  uint64_t blocks_ = 0;
  uint64_t records_ = 0;
};

}  // namespace orvane
