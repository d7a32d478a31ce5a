#include "assets/texture_image.h"
#include "assets/texture_bytes.h"

namespace orvane {

bool TextureSizeAcceptable(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide &&
         width * height <= kMaxTexturePixels;
}

ImageFault DecodeBmp(std::span<const uint8_t> bytes, TextureImage& image) {
  constexpr size_t kHeaders = 14 + 40;
  if (bytes.size() < kHeaders) return ImageFault::HeaderShort;
  const auto width = static_cast<int32_t>(LittleU32(bytes, 18));
  const auto height = static_cast<int32_t>(LittleU32(bytes, 22));
  const uint16_t bitsPerPixel = LittleU16(bytes, 28);
  const uint32_t imageSize = LittleU32(bytes, 34);
  const uint32_t paletteBytes = LittleU32(bytes, 46);
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
