// Textures whose sides are not powers of two reach GL scaled to the power-of-two sides
// that GLU picks, with every texel of the scaled level drawn from the image.

#include <gtest/gtest.h>

#include <vector>

#include "gl_fixture.h"
#include "viewer/gl_headers.h"
#include "viewer/gl_texture.h"

namespace orvane::testing {
namespace {

class TextureUpload : public GlTest {};

std::vector<uint8_t> LevelPixels(int32_t level, int32_t& width, int32_t& height) {
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

TEST_F(TextureUpload, EveryRowOfAScaledTextureKeepsTheImage) {
  const std::pair<int32_t, int32_t> sides[] = {{378, 256}, {756, 512}, {250, 176}, {48, 48}, {64, 64}};
  for (const auto& [w, h] : sides) {
    for (TexturePixelFormat format : {TexturePixelFormat::Rgb, TexturePixelFormat::Rgba}) {
      TextureImage image;
      image.Width = w;
      image.Height = h;
      image.Format = format;
      image.Pixels.assign(static_cast<size_t>(w) * h * (format == TexturePixelFormat::Rgb ? 3 : 4), 200);
      const uint32_t name = CreateTexture(image);
      int32_t tw = 0, th = 0;
      const std::vector<uint8_t> level0 = LevelPixels(0, tw, th);
      EXPECT_EQ(tw & (tw - 1), 0) << w;
      EXPECT_EQ(th & (th - 1), 0) << h;
      int dark = 0;
      for (size_t i = 0; i < level0.size(); i += 4) dark += level0[i] < 190;
      EXPECT_EQ(dark, 0) << w << " x " << h << ": texels darker than the image";
      int32_t lw = 0, lh = 0;
      const std::vector<uint8_t> last = LevelPixels(1, lw, lh);
      for (size_t i = 0; i < last.size(); i += 4) ASSERT_GE(last[i], 190) << w << " x " << h << " level 1";
      GLuint n = name;
      glDeleteTextures(1, &n);
    }
  }
}

}  // namespace
}  // namespace orvane::testing
