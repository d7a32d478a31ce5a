#include "model/about_text.h"

#include <gtest/gtest.h>

#include "util/version.h"

namespace orvane {
namespace {

TEST(AboutText, TitleAndLinesDecodeFromTheirStoredForm) {
  EXPECT_EQ(DecodedTitle(), "Orvane");
  EXPECT_EQ(DecodedAboutLine(0), "Orvane");
  for (int i = 0; i < kAboutLineCount; ++i) {
    const std::string line = DecodedAboutLine(i);
    EXPECT_FALSE(line.empty()) << i;
    for (unsigned char c : line) EXPECT_TRUE(c >= 32 && c < 127) << "line " << i;
    EXPECT_EQ(std::string(kAboutLines[static_cast<size_t>(i)].Stored).find(' '), std::string::npos);
  }
  EXPECT_EQ(DecodedAboutLine(6), "");
}

TEST(AboutText, OneLineShowsTheProgramVersion) {
  int withVersion = 0;
  for (int i = 0; i < kAboutLineCount; ++i) {
    const std::string line = DecodedAboutLine(i);
    EXPECT_EQ(line.find(kVersionMark), std::string::npos) << line;
    if (line.ends_with(std::string(", version ") + ProgramVersion())) ++withVersion;
  }
  EXPECT_EQ(withVersion, 1);
}

TEST(AboutText, LinesAreCentredAboveAndBelowTheMiddle) {
  // Panel 392 x 324: middle 162; a text 101 wide starts at (392 - 101) div 2 = 145.
  const int32_t ys[] = {207, 192, 177, 147, 132, 117};
  for (int i = 0; i < kAboutLineCount; ++i) {
    EXPECT_EQ(AboutLinePlace(i, 392, 324, 101), (OverlayPlace{145, ys[i]})) << i;
  }
  EXPECT_EQ(CentredPlace(392, 323, 72), (OverlayPlace{160, 161}));
  // Text wider than the panel: div truncates toward zero, -3 div 2 is -1.
  EXPECT_EQ(CentredPlace(10, 10, 13).X, -1);
}

TEST(AboutText, FadeStepsStaggerTheLines) {
  const float steps[] = {0.05f, 0.04f, 0.03f, 0.02f, 0.015f, 0.012f};
  for (int i = 0; i < kAboutLineCount; ++i) EXPECT_EQ(kAboutLines[static_cast<size_t>(i)].Step, steps[i]);
  EXPECT_EQ(kAboutLines[0].Color[0], 1.0f);
  EXPECT_EQ(kAboutLines[0].Color[1], 0.5f);
  EXPECT_EQ(kAboutLines[5].Color[1], 1.0f);
}

TEST(HelpText, ElevenLinesWithAnEmptyOneAfterTheFirst) {
  const std::string text = HelpText();
  EXPECT_EQ(text.rfind("Visualization control: Keyboard, Mouse & Joystick\r\n\r\n"
                       "Keyboard or Joystick: controls camera movements\r\n",
                       0),
            0u);
  size_t breaks = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++breaks;
  EXPECT_EQ(breaks, 11u);
  EXPECT_EQ(text.find("&&"), std::string::npos);
  EXPECT_NE(text.find("\r\nF5: saves current frame in BMP file"), std::string::npos);
  EXPECT_EQ(text.back(), 'e');
}

}  // namespace
}  // namespace orvane
