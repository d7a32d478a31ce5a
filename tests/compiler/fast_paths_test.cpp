// The shortcuts of the frame loop give the very values of the plain evaluation.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "compiler/emitter_motion.h"
#include "compiler/fast_exp.h"
#include "compiler/random_stretch.h"
#include "compiler/show_record.h"
#include "util/random.h"

namespace orvane {
namespace {

TEST(FastPaths, RandomStretchDrawsWhatRandomDraws) {
  const int32_t ranges[] = {0, 1, 2, 5, 10, 100, 65535, 1 << 30};
  SetRandomSeed(0xDEADBEEFu);
  std::vector<int32_t> plain;
  for (int i = 0; i < 4000; ++i) plain.push_back(Random(ranges[i % 8]));
  const uint32_t after = RandomSeed();
  SetRandomSeed(0xDEADBEEFu);
  std::vector<int32_t> stretched;
  {
    RandomStretch random;
    for (int i = 0; i < 4000; ++i) stretched.push_back(random(static_cast<uint32_t>(ranges[i % 8])));
  }
  EXPECT_EQ(plain, stretched);
  EXPECT_EQ(RandomSeed(), after);  // handed back where Random would have left it
}

TEST(FastPaths, EmitterTableHoldsTheDirectFactors) {
  for (float k : {1.0f, 0.002f, 0.0f, 0.0316f}) {
    EmitterMotion table(k);
    EXPECT_EQ(table.Drag(), FastExp(k) - 1);
    for (uint32_t frame : {0u, 1u, 7u, 300u, 299u, 5000u}) {
      const float direct = static_cast<float>((FastExp(k) - 1) * FastExp(-k * static_cast<float>(frame)));
      EXPECT_EQ(table.Factor(frame), direct) << k << " " << frame;
    }
  }
  EmitterMotions tables;
  EXPECT_EQ(&tables.For(0.5f), &tables.For(0.5f));
  EXPECT_NE(&tables.For(0.0f), &tables.For(-0.0f));
}

TEST(FastPaths, VectorRoundingMatchesRoundHalfEven) {
  const float inf = std::numeric_limits<float>::infinity();
  const float values[] = {0.0f,        -0.0f,      1.0f / 6000, -1.0f / 6000, 0.5f / 3000,   2.5f / 3000,
                          10.92f,      -10.93f,    715827.88f,  -715827.88f,  715828.0f,     -715828.0f,
                          1e9f,        -1e9f,      inf,         -inf,         std::nanf(""), 123.456f,
                          0.00016667f, 3.3333e-4f, -2.2e-4f,    1e-30f};
  for (float x : values) {
    for (float y : values) {
      uint8_t vector[6], scalar[6];
      StorePositions(vector, x, y, -x);
      StoreU16(scalar, PositionField(x));
      StoreU16(scalar + 2, PositionField(y));
      StoreU16(scalar + 4, PositionField(-x));
      ASSERT_EQ(0, std::memcmp(vector, scalar, 6)) << x << " " << y;
    }
  }
  for (float c = -0.1f; c <= 1.1f; c += 1.0f / 510) {
    const EncodedColor e = EncodeColor(c, 1 - c, c / 2, c);
    EXPECT_EQ(e.Red, ColorByte(c));
    EXPECT_EQ(e.Green, ColorByte(1 - c));
    EXPECT_EQ(e.Blue, ColorByte(c / 2));
    EXPECT_EQ(e.AlphaHigh, AlphaHighNibble(c));
  }
}

// A field fits when round(f32(v * 3000)) is a 16-bit value; the edges both ways.
TEST(FastPaths, PositionsFitTheirFieldUpToTheEdgesOfSixteenBits) {
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<std::pair<float, bool>> cases = {
      {0.0f, true},
      {10.9f, true},
      {32767.0f / 3000, true},
      {32768.2f / 3000, false},
      {10.923f, false},
      {-32768.0f / 3000, true},
      {-32768.6f / 3000, false},
      {-10.923f, false},
      {715828.0f, false},
      {inf, false},
      {-inf, false},
      {std::nanf(""), false},
  };
  for (const auto& [v, fits] : cases) {
    EXPECT_EQ(PositionFits(v), fits) << v;
    uint8_t record[10];
    EXPECT_EQ(StoreRecord(record, v, 0, 0, 0), fits) << v;
    EXPECT_EQ(StoreRecord(record, 0, v, 0, 0), fits) << v;
    EXPECT_EQ(StoreRecord(record, 0, 0, v, 0), fits) << v;
  }
}

// Whole records from the packed stores against each field rounded and stored on its own,
// with positions that wrap, colours outside 0..1 and values that are not numbers.
TEST(FastPaths, PackedRecordMatchesFieldByField) {
  const float inf = std::numeric_limits<float>::infinity();
  const float positions[] = {0.0f, -0.0f, 1.0f, -0.5f, 10.92f, -10.93f, 11.5f, -22.0f, 715828.0f, inf, std::nanf("")};
  const float colours[] = {0.0f, 1.0f, 0.5f, 0.3f, 1.2f, -0.1f, 3.0f, -2.0f, inf, std::nanf("")};
  for (float x : positions) {
    for (float c : colours) {
      for (uint8_t size : {uint8_t{0}, uint8_t{5}, uint8_t{15}}) {
        uint8_t packed[12] = {}, plain[12] = {};
        packed[10] = packed[11] = plain[10] = plain[11] = 0xAB;
        const bool fits = EncodeRecord(packed, x, -x, x / 3, c, 1 - c, c / 2, c, size);
        EXPECT_EQ(fits, PositionFits(x, -x, x / 3)) << x;
        StoreU16(plain, PositionField(x));
        StoreU16(plain + 2, PositionField(-x));
        StoreU16(plain + 4, PositionField(x / 3));
        plain[6] = ColorByte(c);
        plain[7] = ColorByte(1 - c);
        plain[8] = ColorByte(c / 2);
        plain[9] = static_cast<uint8_t>(AlphaHighNibble(c) | size);
        ASSERT_EQ(0, std::memcmp(packed, plain, 12)) << x << " " << c << " " << int{size};
      }
    }
  }
  // The byte-level example: (1.0, -0.5, 0), colour (1, 0.5, 0), alpha 1, size 0.1.
  uint8_t record[10];
  EncodeRecord(record, 1.0f, -0.5f, 0.0f, 1.0f, 0.5f, 0.0f, 1.0f, SizeNibble(0.1f, 1.0f));
  const uint8_t expected[10] = {0xB8, 0x0B, 0x24, 0xFA, 0x00, 0x00, 0xFF, 0x80, 0x00, 0xF5};
  EXPECT_EQ(0, std::memcmp(record, expected, 10));
}

}  // namespace
}  // namespace orvane
