// The BMP, TGA and JPEG decoders on arbitrary bytes. The first byte picks the decoder
// (0 BMP, 1 TGA, 2 JPEG from memory, 3 JPEG from a file stream); the rest is the image.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "assets/texture_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::span<const uint8_t> image(data + 1, size - 1);
  orvane::TextureImage decoded;
  orvane::ImageFault fault = orvane::ImageFault::None;
  switch (data[0] % 4) {
    case 0: fault = orvane::DecodeBmp(image, decoded); break;
    case 1: fault = orvane::DecodeTga(image, decoded); break;
    case 2: fault = orvane::DecodeJpeg(image, decoded); break;
    default: {
      std::FILE* file = fmemopen(const_cast<uint8_t*>(image.data()), image.size(), "rb");
      fault = orvane::DecodeJpegFile(file, decoded);
      if (file != nullptr) std::fclose(file);
    }
  }
  if (fault == orvane::ImageFault::None) {
    const size_t bytes = decoded.Format == orvane::TexturePixelFormat::Rgb ? 3 : 4;
    if (decoded.Width <= 0 || decoded.Height <= 0 ||
        decoded.Pixels.size() != size_t(decoded.Width) * size_t(decoded.Height) * bytes) {
      std::abort();
    }
  }
  return 0;
}
