#pragma once
// Keeps the GL state a pass of programs changes and gives it back afterwards, so the night
// look can draw inside a context whose fixed-function drawing expects its own state.

#include <cstdint>

namespace orvane {

class GlStateGuard {
 public:
  GlStateGuard();
  ~GlStateGuard();
  GlStateGuard(const GlStateGuard&) = delete;
  GlStateGuard& operator=(const GlStateGuard&) = delete;

 private:
  int32_t viewport_[4] = {};
  int32_t drawFramebuffer_ = 0, readFramebuffer_ = 0;
  int32_t program_ = 0, vertexArray_ = 0, arrayBuffer_ = 0;
  int32_t activeTexture_ = 0;
  int32_t textures_[4] = {};  // 2D bindings of units 0 ... 3, which the night look uses
  int32_t blendSrcRgb_ = 0, blendDstRgb_ = 0, blendSrcAlpha_ = 0, blendDstAlpha_ = 0;
  int32_t packAlignment_ = 4, unpackAlignment_ = 4;
  bool blend_ = false, depthTest_ = false, cullFace_ = false, scissor_ = false;
  uint8_t depthMask_ = 1;
};

}  // namespace orvane
