#include "assets/texture_scaling.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(TextureScaling, SidesGoToTheNearestPowerOfTwo) {
  EXPECT_EQ(NearestPowerOfTwo(756), 512);
  EXPECT_EQ(NearestPowerOfTwo(378), 256);
  EXPECT_EQ(NearestPowerOfTwo(250), 256);
  EXPECT_EQ(NearestPowerOfTwo(176), 128);
  EXPECT_EQ(NearestPowerOfTwo(48), 64);  // a tie goes up
  EXPECT_EQ(NearestPowerOfTwo(64), 64);
  EXPECT_EQ(NearestPowerOfTwo(5), 4);
  EXPECT_EQ(NearestPowerOfTwo(3), 4);
  EXPECT_EQ(NearestPowerOfTwo(2), 2);
  EXPECT_EQ(NearestPowerOfTwo(1), 1);
  EXPECT_EQ(NearestPowerOfTwo(0), 0);
}

TextureImage Rgb(int32_t w, int32_t h, std::vector<uint8_t> pixels) {
  TextureImage image;
  image.Width = w;
  image.Height = h;
  image.Pixels = std::move(pixels);
  return image;
}

TEST(TextureScaling, AreaAveragingKeepsEveryRowAndMeans) {
  // Two texels, black and white, become their mean (127.5 rounds to even: 128).
  const TextureImage mean = ScaleTextureImage(Rgb(2, 1, {0, 0, 0, 255, 255, 255}), 1, 1);
  EXPECT_EQ(mean.Pixels, (std::vector<uint8_t>{128, 128, 128}));
  // Widening copies; a uniform image stays uniform in every row, the top one included.
  const TextureImage wide = ScaleTextureImage(Rgb(1, 2, {10, 20, 30, 40, 50, 60}), 2, 2);
  EXPECT_EQ(wide.Pixels, (std::vector<uint8_t>{10, 20, 30, 10, 20, 30, 40, 50, 60, 40, 50, 60}));
  const TextureImage flat = ScaleTextureImage(Rgb(378, 5, std::vector<uint8_t>(378 * 5 * 3, 200)), 256, 4);
  ASSERT_EQ(flat.Pixels.size(), 256u * 4 * 3);
  for (uint8_t v : flat.Pixels) ASSERT_EQ(v, 200);
}

TEST(TextureScaling, AlphaIsScaledWithTheColour) {
  TextureImage image;
  image.Width = 3;
  image.Height = 1;
  image.Format = TexturePixelFormat::Rgba;
  image.Pixels = {0, 0, 0, 0, 90, 90, 90, 90, 180, 180, 180, 180};
  const TextureImage scaled = ScaleTextureImage(image, 1, 1);
  EXPECT_EQ(scaled.Pixels, (std::vector<uint8_t>{90, 90, 90, 90}));
}

}  // namespace
}  // namespace orvane
