#include "viewer/screen_capture.h"

#include "util/safe_file.h"
#include "viewer/gl_headers.h"

namespace orvane {
namespace {

void PutLE(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const std::vector<uint8_t>& rgb, int32_t width, int32_t height) {
  const uint32_t row_bytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t image_bytes = row_bytes * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(54 + image_bytes);
  out.push_back('B');
  out.push_back('M');
  PutLE(out, 54 + image_bytes, 4);
  PutLE(out, 0, 4);
  PutLE(out, 54, 4);
  PutLE(out, 40, 4);
  PutLE(out, static_cast<uint32_t>(width), 4);
  PutLE(out, static_cast<uint32_t>(height), 4);  // positive: rows stored bottom-up
  PutLE(out, 1, 2);
  PutLE(out, 24, 2);
  PutLE(out, 0, 4);  // uncompressed
  PutLE(out, image_bytes, 4);
  PutLE(out, 2835, 4);  // 72 dots per inch
  PutLE(out, 2835, 4);
  PutLE(out, 0, 4);
  PutLE(out, 0, 4);
  // The picture stands upright when its top row comes last in the file, which is the
  // read-back order; the file stores blue, green, red.
  for (int32_t r = 0; r < height; ++r) {
    const uint8_t* row = rgb.data() + static_cast<size_t>(r) * static_cast<size_t>(width) * 3;
    for (int32_t c = 0; c < width; ++c) {
      out.push_back(row[c * 3 + 2]);
      out.push_back(row[c * 3 + 1]);
      out.push_back(row[c * 3]);
    }
    for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < row_bytes; ++pad) out.push_back(0);
  }
  return out;
}

CaptureResult CaptureToBitmap(int32_t x, int32_t y, int32_t width, int32_t height, CaptureBuffer buffer,
                              const std::string& path) {
  CaptureResult result;
  if (width <= 0 || height <= 0) return result;
  const uint64_t size = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 3;
  if (size > (uint64_t{1} << 31)) return result;
  std::vector<uint8_t> pixels(static_cast<size_t>(size));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  if (buffer == CaptureBuffer::Front) glReadBuffer(GL_FRONT);
  glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  const std::vector<uint8_t> file = EncodeBmp24(pixels, width, height);
  SafeFile out(path);
  if (!out.Write(file) || !out.Commit()) {
    result.error = "Cannot create file \"" + path + "\".";
    return result;
  }
  result.written = true;
  return result;
}

}  // namespace orvane
