#pragma once
// Saves the picture on the panel as a 24-bit Windows bitmap.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

inline constexpr const char* kCaptureFileName = "OGLcapture.bmp";

// Which colour buffer to read: the window's front buffer, or whatever buffer is bound for
// reading (an offscreen context or a framebuffer object).
enum class CaptureBuffer { Front, Current };

struct CaptureResult {
  bool written = false;
  std::string error;  // set when the file could not be written
};

// (x, y) is the bottom-left corner in panel pixels. A zero-sized rectangle writes nothing.
CaptureResult CaptureToBitmap(int32_t x, int32_t y, int32_t width, int32_t height,
                              CaptureBuffer buffer = CaptureBuffer::Front, const std::string& path = kCaptureFileName);

// A whole BMP file from RGB rows given bottom row first (as GL reads them back).
std::vector<uint8_t> EncodeBmp24(const std::vector<uint8_t>& rgb_bottom_up, int32_t width, int32_t height);

}  // namespace orvane
