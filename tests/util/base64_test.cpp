#include "util/base64.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Base64, DecodesWholeAndPaddedGroups) {
  EXPECT_EQ(Base64Decode("YWJj"), "abc");
  EXPECT_EQ(Base64Decode("YWI="), "ab");
  EXPECT_EQ(Base64Decode("YQ=="), "a");
  EXPECT_EQ(Base64Decode("T3J2YW5l"), "Orvane");
}

TEST(Base64, PaddingInsideTheTextDoesNotStop) {
  EXPECT_EQ(Base64Decode("YQ==YWJj"), "aabc");
  const std::string odd = Base64Decode("YW=j");
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_EQ(odd[0], 'a');
  EXPECT_EQ(static_cast<unsigned char>(odd[1]), 0x23);
}

TEST(Base64, ShortAndTrailingCharactersAreIgnored) {
  EXPECT_EQ(Base64Decode(""), "");
  EXPECT_EQ(Base64Decode("YWJ"), "");
  EXPECT_EQ(Base64Decode("YWJjYW"), "abc");
}

TEST(Base64, StopsAtTheFirstZeroCharacter) {
  using namespace std::string_literals;
  EXPECT_EQ(Base64Decode("YWJj\0YWJj"s), "abc");
  EXPECT_EQ(Base64Decode("YW\0Jj"s), "");
}

TEST(Base64, StrayCharactersCountAsMinusOne) {
  // A blank as c1 gives p1 = -1: -4 + p2 div 16, low 8 bits.
  const std::string r = Base64Decode(" WJj");
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(static_cast<unsigned char>(r[0]), static_cast<unsigned char>((-4 + 22 / 16) & 0xFF));
  EXPECT_EQ(static_cast<unsigned char>(r[1]), static_cast<unsigned char>(((22 % 16) * 16 + 9 / 4) & 0xFF));
  // "=" as c2 is not padding: p2 = -1, and -1 div 16 = 0, -1 mod 16 = -1.
  const std::string q = Base64Decode("Y=Jj");
  ASSERT_EQ(q.size(), 3u);
  EXPECT_EQ(static_cast<unsigned char>(q[0]), static_cast<unsigned char>((24 * 4 + 0) & 0xFF));
  EXPECT_EQ(static_cast<unsigned char>(q[1]), static_cast<unsigned char>((-1 * 16 + 9 / 4) & 0xFF));
}

}  // namespace
}  // namespace orvane
