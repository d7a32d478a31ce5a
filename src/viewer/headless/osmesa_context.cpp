#include "viewer/headless/osmesa_context.h"

#include <GL/osmesa.h>

#include "util/byte_reader.h"
#include "viewer/gl_headers.h"

namespace orvane {

std::unique_ptr<OsMesaContext> OsMesaContext::Create(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
  if (context == nullptr) return nullptr;
  auto result = std::unique_ptr<OsMesaContext>(new OsMesaContext(context, width, height));
  if (!result->MakeCurrent()) return nullptr;
  return result;
}

std::unique_ptr<OsMesaContext> OsMesaContext::CreateCore(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  const int attributes[] = {OSMESA_FORMAT,
                            OSMESA_RGBA,
                            OSMESA_DEPTH_BITS,
                            0,
                            OSMESA_PROFILE,
                            OSMESA_CORE_PROFILE,
                            OSMESA_CONTEXT_MAJOR_VERSION,
                            3,
                            OSMESA_CONTEXT_MINOR_VERSION,
                            3,
                            0};
  OSMesaContext context = OSMesaCreateContextAttribs(attributes, nullptr);
  if (context == nullptr) return nullptr;
  auto result = std::unique_ptr<OsMesaContext>(new OsMesaContext(context, width, height));
  if (!result->MakeCurrent()) return nullptr;
  return result;
}

OsMesaContext::OsMesaContext(void* context, int32_t width, int32_t height)
    : context_(context),
      width_(width),
      height_(height),
      buffer_(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0) {}

OsMesaContext::~OsMesaContext() { OSMesaDestroyContext(static_cast<OSMesaContext>(context_)); }

bool OsMesaContext::MakeCurrent() {
  return OSMesaMakeCurrent(static_cast<OSMesaContext>(context_), buffer_.data(), GL_UNSIGNED_BYTE, width_, height_) ==
         GL_TRUE;
}

const std::vector<uint8_t>& OsMesaContext::Pixels() {
  glFinish();
  return buffer_;
}

uint32_t OsMesaContext::PixelAtTopLeft(int32_t x, int32_t y) {
  ByteReader pixel(Pixels());
  pixel.Seek((static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 4);
  // Red, green, blue and alpha bytes: without alpha, the little-endian word is 0x00BBGGRR.
  return pixel.U32() & 0x00FFFFFFu;
}

std::vector<uint8_t> OsMesaContext::RgbTopDown() {
  const std::vector<uint8_t>& p = Pixels();
  std::vector<uint8_t> rgb(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3);
  for (int32_t y = 0; y < height_; ++y) {
    const uint8_t* src = p.data() + static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(width_) * 4;
    uint8_t* dst = rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(width_) * 3;
    for (int32_t x = 0; x < width_; ++x) {
      dst[x * 3] = src[x * 4];
      dst[x * 3 + 1] = src[x * 4 + 1];
      dst[x * 3 + 2] = src[x * 4 + 2];
    }
  }
  return rgb;
}

}  // namespace orvane
