// F5 capture: a 24-bit BMP standing upright, nothing for an empty rectangle.

#include <gtest/gtest.h>

#include <filesystem>

#include "gl_fixture.h"
#include "support/test_paths.h"
#include "viewer/gl_headers.h"
#include "viewer/screen_capture.h"

namespace orvane::testing {
namespace {

uint32_t Le32(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 | static_cast<uint8_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

// Blue, green, red of a BMP pixel, (x, y) from the top-left.
uint32_t BmpPixelTopLeft(const std::string& file, int32_t x, int32_t y) {
  const int32_t width = static_cast<int32_t>(Le32(file, 18));
  const int32_t height = static_cast<int32_t>(Le32(file, 22));
  const size_t row_bytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t at = Le32(file, 10) + static_cast<size_t>(height - 1 - y) * row_bytes + static_cast<size_t>(x) * 3;
  return static_cast<uint8_t>(file[at + 2]) | static_cast<uint8_t>(file[at + 1]) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(file[at])) << 16;
}

class Capture : public GlTest {
 protected:
  // Black picture with a red top-left pixel and a green bottom-right one.
  void PaintCorners(float top_left_blue) {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, kPanelHeight - 1, 1, 1);
    glClearColor(1, 0, top_left_blue, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(kPanelWidth - 1, 0, 1, 1);
    glClearColor(0, 1, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
  }
  std::string Path() const { return (dir_.Path() / kCaptureFileName).string(); }
  ScratchDir dir_;
};

TEST_F(Capture, TopLeftOfTheFileIsTopLeftOfThePanel) {
  PaintCorners(0);
  for (CaptureBuffer buffer : {CaptureBuffer::Front, CaptureBuffer::Current}) {
    const CaptureResult result = CaptureToBitmap(0, 0, kPanelWidth, kPanelHeight, buffer, Path());
    ASSERT_TRUE(result.written) << result.error;
    const std::string file = ReadFileBytes(Path());
    ASSERT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(Le32(file, 18), static_cast<uint32_t>(kPanelWidth));
    EXPECT_EQ(Le32(file, 22), static_cast<uint32_t>(kPanelHeight));
    EXPECT_EQ(static_cast<uint8_t>(file[28]), 24);
    EXPECT_EQ(file.size(), 54u + static_cast<size_t>(kPanelWidth * 3) * kPanelHeight);  // 1176: no padding
    EXPECT_EQ(BmpPixelTopLeft(file, 0, 0), 0x0000FFu);
    EXPECT_EQ(BmpPixelTopLeft(file, kPanelWidth - 1, kPanelHeight - 1), 0x00FF00u);
    EXPECT_EQ(BmpPixelTopLeft(file, 1, 0), 0u);
  }
}

TEST_F(Capture, SecondCaptureReplacesTheFirstAndRowsArePadded) {
  PaintCorners(0);
  ASSERT_TRUE(CaptureToBitmap(0, 0, kPanelWidth, kPanelHeight, CaptureBuffer::Current, Path()).written);
  PaintCorners(1);
  // A 5-pixel-wide strip of the left edge: rows of 15 bytes padded to 16.
  ASSERT_TRUE(CaptureToBitmap(0, 0, 5, kPanelHeight, CaptureBuffer::Current, Path()).written);
  const std::string file = ReadFileBytes(Path());
  EXPECT_EQ(file.size(), 54u + 16u * kPanelHeight);
  EXPECT_EQ(BmpPixelTopLeft(file, 0, 0), 0xFF00FFu);
}

TEST_F(Capture, EmptyRectangleWritesNothing) {
  EXPECT_FALSE(CaptureToBitmap(0, 0, 0, kPanelHeight, CaptureBuffer::Current, Path()).written);
  EXPECT_FALSE(CaptureToBitmap(0, 0, kPanelWidth, 0, CaptureBuffer::Current, Path()).written);
  EXPECT_FALSE(CaptureToBitmap(0, 0, -4, 10, CaptureBuffer::Current, Path()).written);
  EXPECT_FALSE(std::filesystem::exists(Path()));
}

TEST_F(Capture, UnwritableFileIsReported) {
  const CaptureResult result =
      CaptureToBitmap(0, 0, 4, 4, CaptureBuffer::Current, (dir_.Path() / "missing" / "x.bmp").string());
  EXPECT_FALSE(result.written);
  EXPECT_NE(result.error.find("x.bmp"), std::string::npos);
}

}  // namespace
}  // namespace orvane::testing
