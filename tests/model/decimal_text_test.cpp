#include "model/decimal_text.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(NormalizeNumber, PointLocale) {
  EXPECT_EQ(NormalizeNumber("", '.'), "0");
  EXPECT_EQ(NormalizeNumber("-", '.'), "0");
  EXPECT_EQ(NormalizeNumber(".5", '.'), "0.5");
  EXPECT_EQ(NormalizeNumber("5.", '.'), "5.0");
  EXPECT_EQ(NormalizeNumber("-.5", '.'), "-0.5");
  EXPECT_EQ(NormalizeNumber("1,5", '.'), "1.5");
  EXPECT_EQ(NormalizeNumber("1.000,5", '.'), "1.000.5");
  EXPECT_EQ(NormalizeNumber("12", '.'), "12");
}

TEST(NormalizeNumber, CommaLocale) {
  EXPECT_EQ(NormalizeNumber("1.5", ','), "1,5");
  EXPECT_EQ(NormalizeNumber("1,5", ','), "1,5");
  EXPECT_EQ(NormalizeNumber(".5", ','), "0,5");
  EXPECT_EQ(NormalizeNumber("-5.", ','), "-5,0");
}

TEST(TextToFloat, AcceptsPlainDecimals) {
  EXPECT_EQ(TextToFloat("1.5", '.'), 1.5);
  EXPECT_EQ(TextToFloat("-0.25", '.'), -0.25);
  EXPECT_EQ(TextToFloat(" 3 ", '.'), 3.0);
  EXPECT_EQ(TextToFloat("1,5", ','), 1.5);
  EXPECT_EQ(TextToFloat("2e3", '.'), 2000.0);
  EXPECT_EQ(TextToFloat("+7", '.'), 7.0);
}

TEST(TextToFloat, RefusesWhatTheConversionRefuses) {
  for (const char* bad : {"", "abc", "1.000.5", "1,5", "1e", "--1", "0x10", "inf", "nan", "1 2", "1e999", "."}) {
    EXPECT_FALSE(TextToFloat(bad, '.').has_value()) << bad;
  }
}

TEST(ReadDecimal, BothSeparatorsInAnyLocale) {
  for (char sep : {'.', ','}) {
    EXPECT_EQ(ReadDecimal("1,5", sep), 1.5);
    EXPECT_EQ(ReadDecimal("1.5", sep), 1.5);
    EXPECT_EQ(ReadDecimal("", sep), 0.0);
    EXPECT_FALSE(ReadDecimal("1.000,5", sep).has_value());
  }
  EXPECT_EQ(InvalidFloatMessage("abc"), "'abc' is not a valid floating point value");
}

}  // namespace
}  // namespace orvane
