#include "util/terminal_text.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(TerminalText, ControlsAndBrokenUtf8AreSpelledOut) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"plain label", "plain label"},
      {"two\nlines\tand a tab", "two\nlines\tand a tab"},
      {"\x1b[31mred\x1b[0m", "\\x1b[31mred\\x1b[0m"},
      {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},
      {"back\rspace\b", "back\\x0dspace\\x08"},
      {"del\x7f", "del\\x7f"},
      {"caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x8e\x86", "caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x8e\x86"},
      {"c1 \xc2\x9b"
       "31m",
       "c1 \\xc2\\x9b31m"},  // U+009B, the one-byte CSI
      {"lone \x9b", "lone \\x9b"},
      {"cut \xe2\x80", "cut \\xe2\\x80"},
      {"overlong \xc0\xaf", "overlong \\xc0\\xaf"},
      {"surrogate \xed\xa0\x80", "surrogate \\xed\\xa0\\x80"},
      {std::string("nul\0end", 7), "nul\\x00end"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(TerminalText(text), shown) << shown;
}

}  // namespace
}  // namespace orvane
