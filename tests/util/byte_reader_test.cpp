#include "util/byte_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace orvane {
namespace {

TEST(ByteReader, ReadsLittleEndianFieldsInOrder) {
  const std::vector<uint8_t> bytes = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF,
                                      0xFF, 0xFF, 0x00, 0x00, 0xC0, 0x3F, 0xFF, 0x80};
  ByteReader r(bytes);
  EXPECT_EQ(r.U8(), 0x01);
  EXPECT_EQ(r.U16(), 0x1234);
  EXPECT_EQ(r.U32(), 0x12345678u);
  EXPECT_EQ(r.I32(), -2);
  EXPECT_EQ(r.F32(), 1.5f);
  EXPECT_EQ(r.I16(), static_cast<int16_t>(0x80FF));
  EXPECT_TRUE(r.AtEnd());
  EXPECT_FALSE(r.Failed());
  EXPECT_EQ(r.Position(), bytes.size());
}

TEST(ByteReader, AReadEndingExactlyAtTheEndSucceeds) {
  const std::vector<uint8_t> bytes = {0xAA, 0x01, 0x02, 0x03, 0x04};
  ByteReader r(bytes);
  r.Skip(1);
  EXPECT_EQ(r.Remaining(), 4u);
  EXPECT_EQ(r.U32(), 0x04030201u);
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_FALSE(r.Failed());
}

TEST(ByteReader, AReadPastTheEndTakesWhatIsThereZeroFilledAndFailsForGood) {
  const std::vector<uint8_t> bytes = {0x11, 0x22, 0x33};
  ByteReader r(bytes);
  r.Skip(1);
  EXPECT_EQ(r.U32(), 0x00003322u);
  EXPECT_TRUE(r.Failed());
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(r.Position(), 3u);
  // Later reads give zero and the mark stays, even for reads that would have fitted before.
  EXPECT_EQ(r.U8(), 0);
  EXPECT_EQ(r.F32(), 0.0f);
  EXPECT_TRUE(r.Failed());

  ByteReader one(std::span<const uint8_t>(bytes).first(1));
  EXPECT_EQ(one.U16(), 0x0011);
  EXPECT_TRUE(one.Failed());
}

TEST(ByteReader, AnEmptySpanFailsAtTheFirstRead) {
  ByteReader r{std::span<const uint8_t>{}};
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_FALSE(r.Failed());
  r.Skip(0);
  EXPECT_TRUE(r.Bytes(0).empty());
  EXPECT_FALSE(r.Failed()) << "asking for nothing is never past the end";
  EXPECT_EQ(r.U8(), 0);
  EXPECT_TRUE(r.Failed());

  ByteReader defaulted;
  EXPECT_EQ(defaulted.U32(), 0u);
  EXPECT_TRUE(defaulted.Failed());
}

TEST(ByteReader, SubRangesAndBytes) {
  const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5, 6, 7};
  ByteReader r(bytes);
  r.Skip(1);
  ByteReader sub = r.Sub(4);
  EXPECT_EQ(r.Position(), 5u);
  EXPECT_EQ(sub.Size(), 4u);
  EXPECT_EQ(sub.U16(), 0x0302);
  EXPECT_EQ(sub.U16(), 0x0504);
  EXPECT_EQ(sub.U8(), 0) << "a sub-range ends where it was cut, not at the end of the whole";
  EXPECT_TRUE(sub.Failed());
  EXPECT_FALSE(r.Failed()) << "the sub-range's fault is its own";

  const std::span<const uint8_t> rest = r.Bytes(2);
  ASSERT_EQ(rest.size(), 2u);
  EXPECT_EQ(rest[0], 6);
  EXPECT_EQ(rest[1], 7);
  EXPECT_FALSE(r.Failed());
}

TEST(ByteReader, ASubRangeBeyondTheEndIsCutAndFails) {
  const std::vector<uint8_t> bytes = {1, 2, 3};
  ByteReader r(bytes);
  r.Skip(1);
  ByteReader sub = r.Sub(10);
  EXPECT_EQ(sub.Size(), 2u);
  EXPECT_FALSE(sub.Failed());
  EXPECT_EQ(sub.U16(), 0x0302);
  EXPECT_TRUE(r.Failed());
  EXPECT_TRUE(r.AtEnd());

  ByteReader again(bytes);
  const std::span<const uint8_t> cut = again.Bytes(5);
  EXPECT_EQ(cut.size(), 3u);
  EXPECT_TRUE(again.Failed());

  // Sizes near the top of size_t must not wrap around the bounds check.
  ByteReader huge(bytes);
  huge.Skip(1);
  EXPECT_EQ(huge.Bytes(SIZE_MAX).size(), 2u);
  EXPECT_TRUE(huge.Failed());
}

TEST(ByteReader, SeekAndSkipStopAtTheEnd) {
  const std::vector<uint8_t> bytes = {0, 0, 0x34, 0x12};
  ByteReader r(bytes);
  r.Seek(2);
  EXPECT_EQ(r.U16(), 0x1234);
  r.Seek(0);
  EXPECT_EQ(r.Remaining(), 4u);
  r.Seek(4);
  EXPECT_FALSE(r.Failed()) << "the end itself is a place to be";
  r.Seek(5);
  EXPECT_TRUE(r.Failed());
  EXPECT_EQ(r.Position(), 4u);

  ByteReader skipping(bytes);
  skipping.Skip(SIZE_MAX);
  EXPECT_TRUE(skipping.Failed());
  EXPECT_EQ(skipping.Position(), 4u);
}

TEST(ByteWriter, WritesTheOrderTheReaderReadsAndDropsWhatDoesNotFit) {
  std::array<uint8_t, 7> buffer{};
  ByteWriter w(buffer);
  w.U8(0x01);
  w.U16(0x1234);
  w.U32(0xA1B2C3D4u);
  EXPECT_FALSE(w.Failed());
  EXPECT_EQ(buffer, (std::array<uint8_t, 7>{0x01, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1}));
  ByteReader r(buffer);
  EXPECT_EQ(r.U8(), 0x01);
  EXPECT_EQ(r.U16(), 0x1234);
  EXPECT_EQ(r.U32(), 0xA1B2C3D4u);

  std::array<uint8_t, 4> guarded{};
  ByteWriter cut(std::span<uint8_t>(guarded).first(3));
  cut.I32(-1);
  EXPECT_TRUE(cut.Failed());
  EXPECT_EQ(guarded, (std::array<uint8_t, 4>{0xFF, 0xFF, 0xFF, 0x00})) << "the byte past the span stays";
  EXPECT_EQ(cut.Remaining(), 0u);
}

}  // namespace
}  // namespace orvane
