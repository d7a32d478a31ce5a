#include "model/ini_file.h"

#include <gtest/gtest.h>

#include "model/integer_text.h"

namespace orvane {
namespace {

TEST(ParseInteger, DecimalAndHexadecimalForms) {
  EXPECT_EQ(ParseInteger("12"), 12);
  EXPECT_EQ(ParseInteger("  -7"), -7);
  EXPECT_EQ(ParseInteger("+5"), 5);
  EXPECT_EQ(ParseInteger("$1F"), 31);
  EXPECT_EQ(ParseInteger("0x1f"), 31);
  EXPECT_EQ(ParseInteger("-$10"), -16);
  EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
}

TEST(ParseInteger, RefusesEverythingElse) {
  for (const char* bad : {"", " ", "-", "$", "0x", "2147483648", "-2147483649", "$100000000", "12 ", "1.5", "1e3",
                          "12a", "--1", "0x-1", "\xFF"}) {
    EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
  }
}

TEST(IniFile, NamesIgnoreCaseAndFirstMatchWins) {
  const IniFile ini(
      "[Device]\nCODE=12\ncode=13\n"
      "[device]\nKind=second\n"
      "[Other]\nx=1\n");
  EXPECT_TRUE(ini.HasSection("DEVICE"));
  EXPECT_TRUE(ini.HasSection("other"));
  EXPECT_FALSE(ini.HasSection("Missing"));
  EXPECT_EQ(ini.ReadInteger("dEvIcE", "Code", -1), 12);
  // A repeated section is never read: only the first of a name counts.
  EXPECT_EQ(ini.ReadString("Device", "Kind", "none"), "none");
}

TEST(IniFile, TextValues) {
  const IniFile ini(
      "[S]\n"
      "  Name  =  two words  \n"
      "Empty=\n"
      "Quoted=\"  padded \"\n"
      "Single='x'\n"
      "Unmatched=\"abc\n"
      "Equals=a=b;c\n");
  EXPECT_EQ(ini.ReadString("S", "Name"), "two words");
  EXPECT_EQ(ini.ReadString("S", "Empty", "fallback"), "");
  EXPECT_EQ(ini.ReadString("S", "Missing", "fallback"), "fallback");
  EXPECT_EQ(ini.ReadString("S", "Quoted"), "  padded ");
  EXPECT_EQ(ini.ReadString("S", "Single"), "x");
  EXPECT_EQ(ini.ReadString("S", "Unmatched"), "\"abc");
  EXPECT_EQ(ini.ReadString("S", "Equals"), "a=b;c");
}

TEST(IniFile, IntegersAndBooleansFallBackOnBadText) {
  const IniFile ini("[S]\nA=0x10\nB=$ff\nC=junk\nD=\nE=\"12\"\nF=99999999999\nT=5\nZ=0\nN=no\n");
  EXPECT_EQ(ini.ReadInteger("S", "A", 0), 16);
  EXPECT_EQ(ini.ReadInteger("S", "B", 0), 255);
  EXPECT_EQ(ini.ReadInteger("S", "C", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "D", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "E", 7), 12);
  EXPECT_EQ(ini.ReadInteger("S", "F", 7), 7);
  EXPECT_EQ(ini.ReadInteger("S", "Missing", 7), 7);
  EXPECT_TRUE(ini.ReadBool("S", "T", false));
  EXPECT_FALSE(ini.ReadBool("S", "Z", true));
  EXPECT_TRUE(ini.ReadBool("S", "N", true));
  EXPECT_FALSE(ini.ReadBool("S", "N", false));
}

TEST(IniFile, LineEndsJunkAndPlacement) {
  const IniFile ini(
      "\xEF\xBB\xBF"
      "Stray=before any section\r\n"
      "; [Hidden]\r\n"
      "junk line without equals\r\n"
      "[Unclosed\r\n"
      "[A]  trailing text\rOne=1\r\n\r\n"
      "   \t\n"
      "[B]\nTwo=2");  // no final line end
  EXPECT_FALSE(ini.HasSection("Hidden"));
  EXPECT_FALSE(ini.HasSection("Unclosed"));
  EXPECT_EQ(ini.ReadInteger("A", "One", 0), 1);
  EXPECT_EQ(ini.ReadInteger("B", "Two", 0), 2);
  EXPECT_EQ(ini.RawValue("", "Stray"), nullptr);
}

TEST(IniFile, NulBytesAndHugeLines) {
  std::string bytes = "[S]\nA=x";
  bytes.push_back('\0');
  bytes += "y\n[T]\nLong=" + std::string(3'000'000, 'a') + "\n";
  const IniFile ini(bytes);
  EXPECT_EQ(ini.ReadString("S", "A"), std::string("x\0y", 3));
  EXPECT_EQ(ini.ReadString("T", "Long").size(), 3'000'000u);
  const IniFile only("[");
  EXPECT_FALSE(only.HasSection(""));
}

TEST(IniFile, BinaryValues) {
  const IniFile ini("[S]\nUpper=01FF80\nLower=0aFf\nStops=0102zz03\nOdd=01020\nEmpty=\n");
  EXPECT_EQ(ini.ReadBinary("S", "Upper"), (std::vector<uint8_t>{0x01, 0xFF, 0x80}));
  EXPECT_EQ(ini.ReadBinary("S", "Lower"), (std::vector<uint8_t>{0x0A, 0xFF}));
  EXPECT_EQ(ini.ReadBinary("S", "Stops"), (std::vector<uint8_t>{0x01, 0x02}));
  EXPECT_EQ(ini.ReadBinary("S", "Odd"), (std::vector<uint8_t>{0x01, 0x02}));
  EXPECT_TRUE(ini.ReadBinary("S", "Empty").empty());
  EXPECT_TRUE(ini.ReadBinary("S", "Missing").empty());
}

}  // namespace
}  // namespace orvane
