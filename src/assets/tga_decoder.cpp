#include <algorithm>
#include <cassert>

#include "assets/texture_bytes.h"
#include "assets/texture_image.h"
#include "util/byte_reader.h"

namespace orvane {

namespace {

constexpr size_t kTgaHeader = 18;

// Decodes packets until the image is full; false when the stream ends first. A packet
// that runs past the image stops at its last pixel.
bool DecodeRunLength(std::span<const uint8_t> packets, size_t pixelBytes, std::vector<uint8_t>& out) {
  const size_t total = out.size() / pixelBytes;
  size_t produced = 0;
  ByteReader in(packets);
  while (produced < total) {
    const uint8_t header = in.U8();
    if (in.Failed()) return false;
    if (header < 128) {
      const size_t count = size_t{header} + 1;
      const std::span<const uint8_t> raw = in.Bytes(count * pixelBytes);
      if (in.Failed()) return false;
      const size_t copied = std::min(count, total - produced);
      std::copy_n(raw.begin(), copied * pixelBytes, out.begin() + static_cast<std::ptrdiff_t>(produced * pixelBytes));
      produced += copied;
    } else {
      const std::span<const uint8_t> pixel = in.Bytes(pixelBytes);
      if (in.Failed()) return false;
      const size_t copied = std::min<size_t>(header - 127u, total - produced);
      for (size_t k = 0; k < copied; ++k) {
        std::copy(pixel.begin(), pixel.end(), out.begin() + static_cast<std::ptrdiff_t>((produced + k) * pixelBytes));
      }
      produced += copied;
    }
  }
  return true;
}

}  // namespace

ImageFault DecodeTga(std::span<const uint8_t> bytes, TextureImage& image) {
  if (bytes.size() < kTgaHeader) return ImageFault::HeaderShort;
  ByteReader header(bytes.first(kTgaHeader));
  header.Skip(1);  // identification length
  const uint8_t colorMapType = header.U8();
  const uint8_t imageType = header.U8();
  header.Seek(12);
  const uint16_t width = header.U16();
  const uint16_t height = header.U16();
  const uint8_t depth = header.U8();
  assert(!header.Failed());
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
