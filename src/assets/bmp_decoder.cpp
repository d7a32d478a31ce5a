#include <cassert>

#include "assets/texture_bytes.h"
#include "assets/texture_image.h"
#include "util/byte_reader.h"

namespace orvane {

bool TextureSizeAcceptable(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide &&
         width * height <= kMaxTexturePixels;
}

ImageFault DecodeBmp(std::span<const uint8_t> bytes, TextureImage& image) {
  constexpr size_t kHeaders = 14 + 40;
  if (bytes.size() < kHeaders) return ImageFault::HeaderShort;
  ByteReader header(bytes.first(kHeaders));
  header.Seek(18);
  const int32_t width = header.I32();
  const int32_t height = header.I32();
  header.Skip(2);  // planes
  const uint16_t bitsPerPixel = header.U16();
  header.Skip(4);  // compression
  const uint32_t imageSize = header.U32();
  header.Skip(8);  // resolution
  const uint32_t paletteBytes = header.U32();
  assert(!header.Failed());
  if (bytes.size() - kHeaders < paletteBytes) return ImageFault::PaletteShort;
  if (!TextureSizeAcceptable(width, height)) return ImageFault::BadSize;
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  const uint64_t dataSize = imageSize != 0 ? imageSize : pixels * bitsPerPixel / 8;
  const size_t dataStart = kHeaders + paletteBytes;
  // The texture takes three bytes a pixel, so the declared data must hold them too.
  if (bytes.size() - dataStart < dataSize || dataSize < pixels * 3) return ImageFault::DataShort;
  image.Width = width;
  image.Height = height;
  image.Format = TexturePixelFormat::Rgb;
  image.Pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(dataStart),
                      bytes.begin() + static_cast<std::ptrdiff_t>(dataStart + pixels * 3));
  SwapRedBlue(image.Pixels, 3);
  return ImageFault::None;
}

}  // namespace orvane
