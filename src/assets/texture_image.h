#pragma once
// Decoded texture pixels, ready for the GL upload: rows packed, the bottom row first.

#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

namespace orvane {

enum class TexturePixelFormat : uint8_t { Rgb, Rgba };

struct TextureImage {
  int32_t Width = 0;
  int32_t Height = 0;
  TexturePixelFormat Format = TexturePixelFormat::Rgb;
  std::vector<uint8_t> Pixels;  // 3 or 4 bytes a pixel
};

// Why a decoder gave up; the loader turns each into the message of its format.
enum class ImageFault : uint8_t {
  None,
  HeaderShort,       // fewer bytes than the headers
  PaletteShort,      // BMP colour table cut off
  DataShort,         // pixel or packet data cut off
  BadSize,           // zero, negative or too large sides
  NotTrueColor,      // TGA image type neither 2 nor 10
  ColorMapped,       // TGA with a colour map
  UnsupportedDepth,  // TGA depth other than 24 or 32 bits
  DecodeError,       // libjpeg refused the data
};

// Sides and pixel counts the loader accepts: GL takes the sides as 16-bit values, and
// no header may make it allocate more than a large texture needs.
inline constexpr int64_t kMaxTextureSide = 16384;
inline constexpr int64_t kMaxTexturePixels = int64_t{1} << 25;
bool TextureSizeAcceptable(int64_t width, int64_t height);

// Uncompressed 24-bit BMP: the data follows the colour table; rows as stored (no padding
// removed); blue and red swapped.
ImageFault DecodeBmp(std::span<const uint8_t> bytes, TextureImage& image);
// TGA types 2 and 10, 24 or 32 bits, pixel data right after the 18-byte header.
ImageFault DecodeTga(std::span<const uint8_t> bytes, TextureImage& image);
// JPEG through libjpeg, as RGBA with alpha 255. Corrupt data counts as an error.
ImageFault DecodeJpeg(std::span<const uint8_t> bytes, TextureImage& image);
ImageFault DecodeJpegFile(std::FILE* file, TextureImage& image);

}  // namespace orvane
