#pragma once
// An offscreen GL context in memory (OSMesa), for the command line renderer, the pixel
// tests and the benchmarks. Only executables link it; the Qt program never does.

#include <cstdint>
#include <memory>
#include <vector>

#include "viewer/display_services.h"

namespace orvane {

class OsMesaContext : public PanelSizeSource {
 public:
  // Nothing when OSMesa cannot make a context of this size.
  static std::unique_ptr<OsMesaContext> Create(int32_t width, int32_t height);
  // An OpenGL 3.3 core profile context, for the night look; nothing when OSMesa has none.
  static std::unique_ptr<OsMesaContext> CreateCore(int32_t width, int32_t height);
  ~OsMesaContext() override;
  OsMesaContext(const OsMesaContext&) = delete;
  OsMesaContext& operator=(const OsMesaContext&) = delete;

  bool MakeCurrent();
  int32_t PanelWidth() const override { return width_; }
  int32_t PanelHeight() const override { return height_; }

  // RGBA bytes, bottom row first, after glFinish.
  const std::vector<uint8_t>& Pixels();
  // One pixel, (x, y) from the top-left corner as a picture is viewed.
  uint32_t PixelAtTopLeft(int32_t x, int32_t y);
  // RGB rows top row first, for picture files.
  std::vector<uint8_t> RgbTopDown();

 private:
  OsMesaContext(void* context, int32_t width, int32_t height);
  void* context_;
  int32_t width_, height_;
  std::vector<uint8_t> buffer_;
};

// Red, green, blue of a packed pixel from PixelAtTopLeft.
inline uint8_t PixelRed(uint32_t p) { return static_cast<uint8_t>(p); }
inline uint8_t PixelGreen(uint32_t p) { return static_cast<uint8_t>(p >> 8); }
inline uint8_t PixelBlue(uint32_t p) { return static_cast<uint8_t>(p >> 16); }

}  // namespace orvane
