#include "assets/gl_texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/texture_loader.h"

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
  // The loader keeps sides within 16 bits, so these casts are exact.
  const auto width = static_cast<uint16_t>(image.Width);
  const auto height = static_cast<uint16_t>(image.Height);
  if (image.Format == TexturePixelFormat::Rgba) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.Pixels.data());
  } else {
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, image.Pixels.data());
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  return name;
}

bool LoadTexture(const std::string& fileName, uint32_t& textureId, bool fromResource, UserDialogs& dialogs,
                 const AssetStore& store) {
  const std::optional<TextureImage> image = ReadTextureImage(fileName, fromResource, dialogs, store);
  if (!image) return false;
  textureId = CreateTexture(*image);
  return true;
}

bool GlTextureService::LoadTexture(const std::string& fileName, uint32_t& textureId) {
  return orvane::LoadTexture(fileName, textureId, false, dialogs_);
}

void GlTextureService::DeleteTexture(uint32_t textureId) {
  const GLuint name = textureId;
  glDeleteTextures(1, &name);
}

}  // namespace orvane
