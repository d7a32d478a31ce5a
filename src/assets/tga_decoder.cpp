#include <algorithm>
#include <cstring>

#include "assets/texture_bytes.h"
#include "assets/texture_image.h"

namespace orvane {

namespace {

constexpr size_t kTgaHeader = 18;

// Decodes packets until the image is full; false when the stream ends first. A packet
// that runs past the image stops at its last pixel.
bool DecodeRunLength(std::span<const uint8_t> packets, size_t pixelBytes, std::vector<uint8_t>& out) {
  const size_t total = out.size() / pixelBytes;
  size_t produced = 0;
  size_t in = 0;
  while (produced < total) {
    if (in >= packets.size()) return false;
    const uint8_t header = packets[in++];
    if (header < 128) {
      const size_t count = size_t{header} + 1;
      if (packets.size() - in < count * pixelBytes) return false;
      const size_t copied = std::min(count, total - produced);
      std::memcpy(out.data() + produced * pixelBytes, packets.data() + in, copied * pixelBytes);
      produced += copied;
      in += count * pixelBytes;
    } else {
      if (packets.size() - in < pixelBytes) return false;
      const size_t copied = std::min<size_t>(header - 127u, total - produced);
      for (size_t k = 0; k < copied; ++k) {
        std::memcpy(out.data() + (produced + k) * pixelBytes, packets.data() + in, pixelBytes);
      }
      produced += copied;
      in += pixelBytes;
    }
  }
  return true;
}

}  // namespace

ImageFault DecodeTga(std::span<const uint8_t> bytes, TextureImage& image) {
  if (bytes.size() < kTgaHeader) return ImageFault::HeaderShort;
  const uint8_t colorMapType = bytes[1];
  const uint8_t imageType = bytes[2];
  const uint16_t width = LittleU16(bytes, 12);
  const uint16_t height = LittleU16(bytes, 14);
  const uint8_t depth = bytes[16];
  if (imageType != 2 && imageType != 10) return ImageFault::NotTrueColor;
  if (colorMapType != 0) return ImageFault::ColorMapped;
  if (depth != 24 && depth != 32) return ImageFault::UnsupportedDepth;
  if (!TextureSizeAcceptable(width, height)) return ImageFault::BadSize;
  const size_t pixelBytes = depth / 8u;
  const size_t size = size_t{width} * height * pixelBytes;
  const std::span<const uint8_t> data = bytes.subspan(kTgaHeader);
  std::vector<uint8_t> pixels;
  if (imageType == 2) {
    if (data.size() < size) return ImageFault::DataShort;
    pixels.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
  } else {
    // A packet of at least four bytes yields at most 128 pixels, so a stream too short
    // for the image is refused before its buffer is made.
    if (data.size() * 128 < size_t{width} * height) return ImageFault::DataShort;
    pixels.resize(size);
    if (!DecodeRunLength(data, pixelBytes, pixels)) return ImageFault::DataShort;
  }
  SwapRedBlue(pixels, pixelBytes);
  image.Width = width;
  image.Height = height;
  image.Format = pixelBytes == 3 ? TexturePixelFormat::Rgb : TexturePixelFormat::Rgba;
  image.Pixels = std::move(pixels);
  return ImageFault::None;
}

}  // namespace orvane
