#pragma once
// ByteReader: a cursor that reads the little-endian fields of a file held in memory. Every
// reader of outside data (show files, 3DS models, BMP and TGA images, WAV headers, device
// colour data) goes through it, so the byte order and the bounds rule live here alone.
//
// The bounds rule: no read ever touches a byte outside the span. A read that runs past the
// end takes the bytes that are there, reads the missing ones as zero, leaves the cursor at
// the end and marks the reader failed. The mark stays, so a decoder reads a group of
// fields and checks Failed() once; the decoder's own result then says what was wrong, in
// the words of its format. Readers that rely on the zero fill (3DS chunks cut short) get
// it defined here rather than by luck.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  uint8_t U8() { return static_cast<uint8_t>(Little<1>()); }
  uint16_t U16() { return static_cast<uint16_t>(Little<2>()); }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  uint32_t U32() { return Little<4>(); }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  float F32() { return std::bit_cast<float>(U32()); }

  // The next n bytes; fewer (and failed) when the span ends first.
  std::span<const uint8_t> Bytes(size_t n) {
    const size_t got = Take(n);
    return bytes_.subspan(position_ - got, got);
  }
  // A reader over the next n bytes, which this one moves past; shorter (and this one
  // failed) when the span ends first. The new reader starts unfailed.
  ByteReader Sub(size_t n) { return ByteReader(Bytes(n)); }
  void Skip(size_t n) { Take(n); }
  // Moves to `position` counted from the start; beyond the end fails and stops at the end.
  void Seek(size_t position) {
    position_ = std::min(position, bytes_.size());
    if (position > bytes_.size()) failed_ = true;
  }

  size_t Position() const { return position_; }
  size_t Size() const { return bytes_.size(); }
  size_t Remaining() const { return bytes_.size() - position_; }
  bool AtEnd() const { return position_ == bytes_.size(); }
  // The bytes not read yet.
  std::span<const uint8_t> Rest() const { return bytes_.subspan(position_); }
  // Some read, skip or seek ran past the end.
  bool Failed() const { return failed_; }

 private:
  // Moves past up to n bytes; returns how many were there.
  size_t Take(size_t n) {
    const size_t got = std::min(n, Remaining());
    if (got < n) failed_ = true;
    position_ += got;
    return got;
  }

  template <size_t N>
  uint32_t Little() {
    static_assert(N >= 1 && N <= 4);
    const size_t at = position_;
    uint32_t value = 0;
    if (Remaining() >= N) {
      // The whole field is there: a fixed-length loop the compiler turns into one load.
      for (size_t i = 0; i < N; ++i) value |= uint32_t{bytes_[at + i]} << (8 * i);
      position_ += N;
      return value;
    }
    const size_t got = Take(N);
    for (size_t i = 0; i < got; ++i) value |= uint32_t{bytes_[at + i]} << (8 * i);
    return value;
  }

  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
  bool failed_ = false;
};

// The matching writer: the same order, the same rule (what does not fit is dropped, the
// writer is marked failed).
class ByteWriter {
 public:
  explicit ByteWriter(std::span<uint8_t> bytes) : bytes_(bytes) {}

  void U8(uint8_t v) { Little<1>(v); }
  void U16(uint16_t v) { Little<2>(v); }
  void U32(uint32_t v) { Little<4>(v); }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }

  size_t Position() const { return position_; }
  size_t Remaining() const { return bytes_.size() - position_; }
  bool Failed() const { return failed_; }

 private:
  template <size_t N>
  void Little(uint32_t v) {
    const size_t fits = std::min(N, Remaining());
    if (fits < N) failed_ = true;
    for (size_t i = 0; i < fits; ++i) bytes_[position_ + i] = static_cast<uint8_t>(v >> (8 * i));
    position_ += fits;
  }

  std::span<uint8_t> bytes_;
  size_t position_ = 0;
  bool failed_ = false;
};

}  // namespace orvane
