#include "viewer/gl_texture.h"

#include <algorithm>

#include "assets/texture_loader.h"
#include "assets/texture_scaling.h"
#include "viewer/gl_headers.h"

namespace orvane {

uint32_t CreateTexture(const TextureImage& image) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  // Linear, not a mipmap filter, although mipmaps are built.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  // Rows of 3-byte pixels are packed whatever their width; GL's default 4-byte row
  // alignment would read past the end of an odd-width buffer.
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  const TextureImage* upload = &image;
  TextureImage scaled;
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  int32_t width = NearestPowerOfTwo(image.Width);
  int32_t height = NearestPowerOfTwo(image.Height);
  while (maxSide > 0 && (width > maxSide || height > maxSide)) {
    width = std::max(1, width / 2);
    height = std::max(1, height / 2);
  }
  if (width != image.Width || height != image.Height) {
    scaled = ScaleTextureImage(image, width, height);
    upload = &scaled;
  }
  // The sides are powers of two within GL's limit, so these casts are exact.
  const auto w = static_cast<uint16_t>(width);
  const auto h = static_cast<uint16_t>(height);
  if (upload->Format == TexturePixelFormat::Rgba) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, w, h, GL_RGBA, GL_UNSIGNED_BYTE, upload->Pixels.data());
  } else {
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, w, h, GL_RGB, GL_UNSIGNED_BYTE, upload->Pixels.data());
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  return name;
}

bool LoadTexture(const std::string& fileName, uint32_t& textureId, bool fromResource, const AssetReporter& reporter,
                 const AssetStore& store) {
  const std::optional<TextureImage> image = ReadTextureImage(fileName, fromResource, reporter, store);
  if (!image) return false;
  textureId = CreateTexture(*image);
  return true;
}

bool GlTextureService::LoadTexture(const std::string& fileName, uint32_t& textureId) {
  return orvane::LoadTexture(fileName, textureId, false, reporter_);
}

void GlTextureService::DeleteTexture(uint32_t textureId) {
  const GLuint name = textureId;
  glDeleteTextures(1, &name);
}

}  // namespace orvane
