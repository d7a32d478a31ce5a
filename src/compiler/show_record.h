#pragma once
// The compiled show file's layout and its 10-byte particle record. All integers are
// little-endian; a file is a sequence of blocks (12-byte header, then frames of an
// 8-byte header and the frame's records), with no file header and no trailer.

#include <cstddef>
#include <cstdint>

#include "util/byte_reader.h"
#include "util/rounding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvane {

inline constexpr size_t kBlockHeaderSize = 12;
inline constexpr size_t kFrameHeaderSize = 8;
inline constexpr size_t kRecordSize = 10;
inline constexpr uint32_t kFramesPerBlock = 25;
inline constexpr uint32_t kFullBlockLastIndex = kFramesPerBlock - 1;
inline constexpr double kFramesPerSecond = 25.0;
// No block's data is larger: the writer keeps to it and the reader refuses more.
inline constexpr uint64_t kMaxBlockDataBytes = uint64_t{1} << 30;
// No frame holds more records: a compile holds at most this many particles at once, and a
// frame has one record per particle. The reader refuses more before reading them.
inline constexpr uint64_t kMaxFrameRecords = 20'000'000;
// The compiled show's file name in the program's temporary folder.
inline constexpr const char* kShowFileName = "ovcompile.dat";
// One scene unit is 3000 steps of a stored position.
inline constexpr float kPositionSteps = 3000.0f;

// The fixed-size fields of a header or record at `out`, which the caller has made room for.
inline void StoreU32(uint8_t* out, uint32_t v) { ByteWriter({out, 4}).U32(v); }

inline void StoreU16(uint8_t* out, uint32_t v) { ByteWriter({out, 2}).U16(static_cast<uint16_t>(v)); }

// Stored position: the low 16 bits of round(f32(v * 3000)). A value that is not finite
// (or beyond int32) rounds to -2^31, whose low 16 bits are 0, so it lands at the origin.
inline uint32_t PositionField(float v) { return static_cast<uint32_t>(RoundHalfEven(v * 3000)); }

// Whether round(f32(v * 3000)) fits the 16 bits: a record with a position that does not
// would land somewhere else entirely, so it is not written at all (it is "culled").
inline bool PositionFits(float v) {
  const int32_t field = RoundHalfEven(v * kPositionSteps);
  return field >= -32768 && field <= 32767;
}

inline bool PositionFits(float x, float y, float z) { return PositionFits(x) && PositionFits(y) && PositionFits(z); }

inline uint8_t ColorByte(float c) { return static_cast<uint8_t>(RoundHalfEven(c * 255)); }

inline uint8_t AlphaHighNibble(float a) {
  return static_cast<uint8_t>(static_cast<uint32_t>(RoundHalfEven(a * 15)) << 4);
}

// The low nibble: round(f32(f32(size * scale) * 50)) and 0x0F; large sizes wrap.
inline uint8_t SizeNibble(float size, float scale) {
  const float scaled = size * scale;
  return static_cast<uint8_t>(RoundHalfEven(scaled * 50) & 0x0F);
}

// A colour as a record stores it: red, green, blue bytes and the alpha nibble already in
// the high half of the last byte. Tables of these spare the frame loop the roundings.
struct EncodedColor {
  uint8_t Red = 0, Green = 0, Blue = 0, AlphaHigh = 0;
};

inline EncodedColor EncodeColor(float red, float green, float blue, float alpha) {
#if defined(__SSE2__)
  const __m128i v =
      _mm_cvtps_epi32(_mm_mul_ps(_mm_setr_ps(red, green, blue, alpha), _mm_setr_ps(255.0f, 255.0f, 255.0f, 15.0f)));
  alignas(16) int32_t lanes[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), v);
  return {static_cast<uint8_t>(lanes[0]), static_cast<uint8_t>(lanes[1]), static_cast<uint8_t>(lanes[2]),
          static_cast<uint8_t>(static_cast<uint32_t>(lanes[3]) << 4)};
#else
  return {ColorByte(red), ColorByte(green), ColorByte(blue), AlphaHighNibble(alpha)};
#endif
}

// The three position fields at out. With SSE2 the three products and roundings run side
// by side: the same float32 products, and the conversion gives -2^31 for NaN and for
// values beyond int32 exactly like RoundHalfEven.
inline void StorePositions(uint8_t* out, float x, float y, float z) {
#if defined(__SSE2__)
  const __m128i fields = _mm_cvtps_epi32(_mm_mul_ps(_mm_setr_ps(x, y, z, 0.0f), _mm_set1_ps(kPositionSteps)));
  const auto xy = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_shufflelo_epi16(fields, _MM_SHUFFLE(3, 3, 2, 0))));
  const auto zz = static_cast<uint32_t>(_mm_extract_epi16(fields, 4));
  StoreU16(out + 0, xy);
  StoreU16(out + 2, xy >> 16);
  StoreU16(out + 4, zz);
#else
  StoreU16(out + 0, PositionField(x));
  StoreU16(out + 2, PositionField(y));
  StoreU16(out + 4, PositionField(z));
#endif
}

// Bytes 6 to 9 of a record as one little-endian word: red, green, blue, alpha and size.
inline uint32_t ColorWord(EncodedColor color, uint8_t sizeNibble) {
  return uint32_t{color.Red} | (uint32_t{color.Green} << 8) | (uint32_t{color.Blue} << 16) |
         (uint32_t{static_cast<uint8_t>(color.AlphaHigh | sizeNibble)} << 24);
}

inline uint32_t ColorWord(float red, float green, float blue, float alpha, uint8_t sizeNibble) {
#if defined(__SSE2__)
  // The low 8 bits of each rounded product (4 for alpha), packed without saturation.
  const __m128i v =
      _mm_cvtps_epi32(_mm_mul_ps(_mm_setr_ps(red, green, blue, alpha), _mm_setr_ps(255.0f, 255.0f, 255.0f, 15.0f)));
  const __m128i low = _mm_and_si128(v, _mm_setr_epi32(0xFF, 0xFF, 0xFF, 0x0F));
  const __m128i words = _mm_packs_epi32(low, low);
  const auto bytes = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
  return (bytes & 0x00FFFFFFu) | (((bytes >> 24) << 4 | sizeNibble) << 24);
#else
  return ColorWord(EncodedColor{ColorByte(red), ColorByte(green), ColorByte(blue), AlphaHighNibble(alpha)}, sizeNibble);
#endif
}

// A whole record: the three position fields, then the colour word. False when a position
// does not fit its field (PositionFits): the bytes are then written all the same, and the
// caller does not keep them.
inline bool StoreRecord(uint8_t* out, float x, float y, float z, uint32_t colorWord) {
#if defined(__SSE2__)
  // The low 16 bits of each field, sign-extended so that the pack keeps them as they are;
  // 8 bytes go out, the last two of which the colour word then overwrites. A field fits
  // when sign-extending its low half gives it back.
  const __m128i fields = _mm_cvtps_epi32(_mm_mul_ps(_mm_setr_ps(x, y, z, 0.0f), _mm_set1_ps(kPositionSteps)));
  const __m128i low = _mm_srai_epi32(_mm_slli_epi32(fields, 16), 16);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(low, low));
  const bool fits = (_mm_movemask_epi8(_mm_cmpeq_epi32(low, fields)) & 0x0FFF) == 0x0FFF;
#else
  StorePositions(out, x, y, z);
  const bool fits = PositionFits(x, y, z);
#endif
  StoreU32(out + 6, colorWord);
  return fits;
}

inline bool EncodeRecord(uint8_t* out, float x, float y, float z, EncodedColor color, uint8_t sizeNibble) {
  return StoreRecord(out, x, y, z, ColorWord(color, sizeNibble));
}

// Writes one record at out (10 bytes). sizeNibble comes from SizeNibble. False: keep it not.
inline bool EncodeRecord(uint8_t* out, float x, float y, float z, float red, float green, float blue, float alpha,
                         uint8_t sizeNibble) {
  return StoreRecord(out, x, y, z, ColorWord(red, green, blue, alpha, sizeNibble));
}

struct ParticleRecord {
  int16_t X = 0, Y = 0, Z = 0;  // 1/3000 scene unit
  uint8_t Red = 0, Green = 0, Blue = 0;
  uint8_t AlphaSize = 0;  // alpha in the high nibble (0..15), size in the low one

  uint8_t AlphaLevel() const { return AlphaSize >> 4; }
  uint8_t SizeLevel() const { return AlphaSize & 0x0F; }
};

// Reads the record of kRecordSize bytes at in.
inline ParticleRecord DecodeRecord(const uint8_t* in) {
  ByteReader bytes({in, kRecordSize});
  ParticleRecord r;
  r.X = bytes.I16();
  r.Y = bytes.I16();
  r.Z = bytes.I16();
  r.Red = bytes.U8();
  r.Green = bytes.U8();
  r.Blue = bytes.U8();
  r.AlphaSize = bytes.U8();
  return r;
}

}  // namespace orvane
