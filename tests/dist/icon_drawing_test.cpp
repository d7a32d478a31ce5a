// The icon's rasteriser covers shapes with the right areas and composites them in order,
// and what it writes reads back as it was drawn.

#include "icon_drawing.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "support/test_paths.h"

namespace orvane::tools {
namespace {

using orvane::testing::ScratchDir;

constexpr Rgba kWhite{1, 1, 1, 1};

double CoveredArea(const std::vector<IconShape>& shapes, int size) {
  const std::vector<uint8_t> pixels = RasteriseIcon(shapes, size);
  double sum = 0;
  for (size_t i = 3; i < pixels.size(); i += 4) sum += pixels[i] / 255.0;
  return sum / (static_cast<double>(size) * size);
}

TEST(IconDrawing, ShapesCoverTheirArea) {
  const double pi = std::numbers::pi;
  const struct {
    const char* Name;
    IconShape Shape;
    double Area;
  } cases[] = {
      {"circle", {ShapeKind::Circle, 0.5f, 0.5f, 0.5f, 0.5f, 0.25f, kWhite, kWhite}, pi * 0.0625},
      {"stroke", {ShapeKind::Stroke, 0.2f, 0.5f, 0.8f, 0.5f, 0.05f, kWhite, kWhite}, 0.6 * 0.1 + pi * 0.0025},
      {"slanted stroke",
       {ShapeKind::Stroke, 0.2f, 0.2f, 0.8f, 0.8f, 0.05f, kWhite, kWhite},
       std::sqrt(0.72) * 0.1 + pi * 0.0025},
      {"rounded square", {ShapeKind::RoundedRect, 0, 0, 1, 1, 0.2f, kWhite, kWhite}, 1 - (4 - pi) * 0.04},
      {"half square", {ShapeKind::RoundedRect, 0, 0.5f, 1, 1, 0, kWhite, kWhite}, 0.5},
  };
  for (const auto& c : cases) EXPECT_NEAR(CoveredArea({c.Shape}, 64), c.Area, 0.01 * c.Area) << c.Name;
}

TEST(IconDrawing, LaterShapesComeOnTop) {
  const Rgba red{1, 0, 0, 1}, blue{0, 0, 1, 1}, halfWhite{1, 1, 1, 0.5f}, black{0, 0, 0, 1};
  const IconShape under = {ShapeKind::Circle, 0.5f, 0.5f, 0.5f, 0.5f, 0.4f, red, red};
  const IconShape over = {ShapeKind::Circle, 0.5f, 0.5f, 0.5f, 0.5f, 0.2f, blue, blue};
  std::vector<uint8_t> p = RasteriseIcon({under, over}, 8);
  const size_t centre = (4 * 8 + 4) * 4;
  EXPECT_EQ(p[centre + 0], 0);
  EXPECT_EQ(p[centre + 2], 255);
  EXPECT_EQ(p[centre + 3], 255);
  p = RasteriseIcon({over, under}, 8);
  EXPECT_EQ(p[centre + 0], 255);
  EXPECT_EQ(p[centre + 2], 0);
  // Half-transparent white over opaque black gives middle grey, still opaque.
  const IconShape ground = {ShapeKind::RoundedRect, 0, 0, 1, 1, 0, black, black};
  const IconShape veil = {ShapeKind::RoundedRect, 0, 0, 1, 1, 0, halfWhite, halfWhite};
  p = RasteriseIcon({ground, veil}, 4);
  EXPECT_NEAR(p[0], 128, 1);
  EXPECT_EQ(p[3], 255);
}

TEST(IconDrawing, RectanglesShadeFromTopToBottomColour) {
  const Rgba top{1, 0, 0, 1}, bottom{0, 0, 1, 1};
  const std::vector<uint8_t> p = RasteriseIcon({{ShapeKind::RoundedRect, 0, 0, 1, 1, 0, top, bottom}}, 16);
  const size_t lastRow = 15 * 16 * 4;
  EXPECT_GT(p[0], 240);
  EXPECT_LT(p[2], 15);
  EXPECT_LT(p[lastRow + 0], 15);
  EXPECT_GT(p[lastRow + 2], 240);
}

TEST(IconDrawing, TheIconIsABrightBurstOnATransparentCorner) {
  const std::vector<uint8_t> p = RasteriseIcon(OrvaneIcon(), 64);
  EXPECT_EQ(p[3], 0);                       // top left corner, outside the rounded square
  const size_t burst = (27 * 64 + 29) * 4;  // the main burst's centre, (0.45, 0.42)
  EXPECT_GT(p[burst + 0], 230);
  EXPECT_GT(p[burst + 1], 220);
  EXPECT_EQ(p[burst + 3], 255);
  const size_t sky = (58 * 64 + 10) * 4;  // low in the sky, away from the burst
  EXPECT_LT(p[sky + 0], 80);
  EXPECT_GT(p[sky + 2], p[sky + 0]);
}

TEST(IconDrawing, PngReadsBackAsDrawn) {
  ScratchDir dir;
  const std::vector<uint8_t> pixels = RasteriseIcon(OrvaneIcon(), 48);
  const std::string path = (dir.Path() / "icon.png").string();
  ASSERT_EQ(WritePngRgba(path, pixels, 48, 48), "");
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
  image.format = PNG_FORMAT_RGBA;
  EXPECT_EQ(image.width, 48u);
  EXPECT_EQ(image.height, 48u);
  std::vector<uint8_t> back(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, back.data(), 0, nullptr));
  EXPECT_EQ(back, pixels);
  EXPECT_NE(WritePngRgba((dir.Path() / "short.png").string(), {1, 2, 3}, 48, 48), "");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "short.png"));
}

TEST(IconDrawing, SvgHoldsEveryShapeAndIsWellFormed) {
  const std::vector<IconShape> icon = OrvaneIcon();
  const std::string svg = IconSvg(icon, 256);
  auto count = [&](const std::string& what) {
    size_t n = 0;
    for (size_t at = svg.find(what); at != std::string::npos; at = svg.find(what, at + 1)) ++n;
    return n;
  };
  size_t circles = 0, strokes = 0, rects = 0;
  for (const IconShape& s : icon) {
    circles += s.Kind == ShapeKind::Circle;
    strokes += s.Kind == ShapeKind::Stroke;
    rects += s.Kind == ShapeKind::RoundedRect;
  }
  EXPECT_EQ(count("<circle "), circles);
  EXPECT_EQ(count("<line "), strokes);
  EXPECT_EQ(count("<rect "), rects);
  ScratchDir dir;
  const std::string file = dir.Write("icon.svg", svg).string();
  const int status = std::system(("xmllint --noout '" + file + "'").c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "xmllint (libxml2-utils) refused or is missing";
}

// An independent SVG renderer (ffmpeg's librsvg) draws the scalable icon as ours draws the PNGs.
TEST(IconDrawing, SvgAndPngShowTheSamePicture) {
  ScratchDir dir;
  const std::string svg = dir.Write("icon.svg", IconSvg(OrvaneIcon(), 256)).string();
  const std::string raw = (dir.Path() / "icon.raw").string();
  const int status = std::system(
      ("ffmpeg -loglevel error -nostdin -y -i '" + svg + "' -f rawvideo -pix_fmt rgba -s 256x256 '" + raw + "'")
          .c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "ffmpeg could not draw the SVG";
  const std::string theirs = orvane::testing::ReadFileBytes(raw);
  const std::vector<uint8_t> ours = RasteriseIcon(OrvaneIcon(), 256);
  ASSERT_EQ(theirs.size(), ours.size());
  double sum = 0;
  size_t far = 0;
  for (size_t i = 0; i < ours.size(); ++i) {
    const int d = std::abs(static_cast<int>(static_cast<uint8_t>(theirs[i])) - static_cast<int>(ours[i]));
    sum += d;
    far += d > 40;
  }
  EXPECT_LT(sum / static_cast<double>(ours.size()), 1.5);  // edges are smoothed a little differently
  EXPECT_LT(static_cast<double>(far) / static_cast<double>(ours.size()), 0.005);
}

}  // namespace
}  // namespace orvane::tools
