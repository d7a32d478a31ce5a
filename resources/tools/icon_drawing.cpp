#include "icon_drawing.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "util/safe_file.h"

namespace orvane::tools {
namespace {

Rgba Hex(uint32_t rgb, float alpha = 1.0f) {
  return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
          static_cast<float>(rgb & 0xFF) / 255.0f, alpha};
}

IconShape Circle(float x, float y, float r, Rgba colour) { return {ShapeKind::Circle, x, y, x, y, r, colour, colour}; }

IconShape Stroke(float x0, float y0, float x1, float y1, float halfWidth, Rgba colour) {
  return {ShapeKind::Stroke, x0, y0, x1, y1, halfWidth, colour, colour};
}

// Rays from an inner to an outer radius with a star at each tip, colours taking turns.
void Burst(std::vector<IconShape>& shapes, float cx, float cy, int rays, float inner, float outer, float halfWidth,
           Rgba a, Rgba b, Rgba tip) {
  for (int i = 0; i < rays; ++i) {
    const float angle = 2.0f * std::numbers::pi_v<float> * (static_cast<float>(i) + 0.25f) / static_cast<float>(rays);
    const float dx = std::cos(angle), dy = std::sin(angle);
    shapes.push_back(
        Stroke(cx + dx * inner, cy + dy * inner, cx + dx * outer, cy + dy * outer, halfWidth, i % 2 == 0 ? a : b));
    shapes.push_back(
        Circle(cx + dx * (outer + 2.2f * halfWidth), cy + dy * (outer + 2.2f * halfWidth), halfWidth * 1.25f, tip));
  }
}

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

bool Inside(const IconShape& s, float x, float y) {
  switch (s.Kind) {
    case ShapeKind::Circle: return (x - s.X0) * (x - s.X0) + (y - s.Y0) * (y - s.Y0) <= s.Radius * s.Radius;
    case ShapeKind::Stroke: {
      const float ex = s.X1 - s.X0, ey = s.Y1 - s.Y0;
      const float length2 = ex * ex + ey * ey;
      const float t = length2 > 0.0f ? Clamp01(((x - s.X0) * ex + (y - s.Y0) * ey) / length2) : 0.0f;
      const float dx = x - (s.X0 + t * ex), dy = y - (s.Y0 + t * ey);
      return dx * dx + dy * dy <= s.Radius * s.Radius;
    }
    case ShapeKind::RoundedRect: {
      if (x < s.X0 || x > s.X1 || y < s.Y0 || y > s.Y1) return false;
      const float cx = std::clamp(x, s.X0 + s.Radius, s.X1 - s.Radius);
      const float cy = std::clamp(y, s.Y0 + s.Radius, s.Y1 - s.Radius);
      return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= s.Radius * s.Radius;
    }
  }
  return false;
}

Rgba ColourAt(const IconShape& s, float y) {
  if (s.Kind != ShapeKind::RoundedRect || s.Y1 <= s.Y0) return s.Fill;
  const float t = Clamp01((y - s.Y0) / (s.Y1 - s.Y0));
  auto mix = [t](float a, float b) { return a + (b - a) * t; };
  return {mix(s.Fill.r, s.FillBottom.r), mix(s.Fill.g, s.FillBottom.g), mix(s.Fill.b, s.FillBottom.b),
          mix(s.Fill.a, s.FillBottom.a)};
}

std::string SvgColour(const Rgba& c) {
  char text[8];
  auto byte = [](float v) { return static_cast<unsigned>(std::lround(Clamp01(v) * 255.0f)); };
  std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(c.r), byte(c.g), byte(c.b));
  return text;
}

std::string Number(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(v));
  return text;
}

std::string Opacity(const char* attribute, const Rgba& c) {
  return c.a < 1.0f ? std::string(" ") + attribute + "=\"" + Number(c.a) + "\"" : std::string();
}

}  // namespace

std::vector<IconShape> OrvaneIcon() {
  std::vector<IconShape> shapes;
  shapes.push_back({ShapeKind::RoundedRect, 0.0625f, 0.0625f, 0.9375f, 0.9375f, 0.17f, Hex(0x0a0f2e), Hex(0x24306a)});
  for (const auto& [x, y] : {std::pair{0.20f, 0.20f}, {0.84f, 0.56f}, {0.24f, 0.70f}, {0.60f, 0.13f}, {0.83f, 0.80f}}) {
    shapes.push_back(Circle(x, y, 0.009f, Hex(0xffffff, 0.7f)));
  }
  // The rising comet that burst.
  shapes.push_back(Stroke(0.40f, 0.90f, 0.43f, 0.66f, 0.012f, Hex(0xffb060, 0.55f)));
  shapes.push_back(Stroke(0.43f, 0.66f, 0.445f, 0.54f, 0.014f, Hex(0xffd080, 0.85f)));
  Burst(shapes, 0.45f, 0.42f, 16, 0.06f, 0.25f, 0.022f, Hex(0xffc83c), Hex(0xff5a32), Hex(0xfff4b4));
  shapes.push_back(Circle(0.45f, 0.42f, 0.062f, Hex(0xfff6d8)));
  Burst(shapes, 0.75f, 0.25f, 10, 0.035f, 0.11f, 0.016f, Hex(0x5ce1ff), Hex(0xb98cff), Hex(0xe0f8ff));
  return shapes;
}

std::string IconSvg(const std::vector<IconShape>& shapes, int viewSize) {
  const float k = static_cast<float>(viewSize);
  const std::string size = std::to_string(viewSize);
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    size + "\" height=\"" + size + "\" viewBox=\"0 0 " + size + " " + size + "\">\n";
  int gradients = 0;
  for (const IconShape& s : shapes) {
    switch (s.Kind) {
      case ShapeKind::RoundedRect: {
        const std::string id = "fill" + std::to_string(gradients++);
        svg += "  <linearGradient id=\"" + id +
               "\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\"><stop offset=\"0\" stop-color=\"" + SvgColour(s.Fill) + "\"" +
               Opacity("stop-opacity", s.Fill) + "/><stop offset=\"1\" stop-color=\"" + SvgColour(s.FillBottom) + "\"" +
               Opacity("stop-opacity", s.FillBottom) + "/></linearGradient>\n";
        svg += "  <rect x=\"" + Number(s.X0 * k) + "\" y=\"" + Number(s.Y0 * k) + "\" width=\"" +
               Number((s.X1 - s.X0) * k) + "\" height=\"" + Number((s.Y1 - s.Y0) * k) + "\" rx=\"" +
               Number(s.Radius * k) + "\" fill=\"url(#" + id + ")\"/>\n";
        break;
      }
      case ShapeKind::Circle:
        svg += "  <circle cx=\"" + Number(s.X0 * k) + "\" cy=\"" + Number(s.Y0 * k) + "\" r=\"" + Number(s.Radius * k) +
               "\" fill=\"" + SvgColour(s.Fill) + "\"" + Opacity("fill-opacity", s.Fill) + "/>\n";
        break;
      case ShapeKind::Stroke:
        svg += "  <line x1=\"" + Number(s.X0 * k) + "\" y1=\"" + Number(s.Y0 * k) + "\" x2=\"" + Number(s.X1 * k) +
               "\" y2=\"" + Number(s.Y1 * k) + "\" stroke=\"" + SvgColour(s.Fill) + "\" stroke-width=\"" +
               Number(2.0f * s.Radius * k) + "\" stroke-linecap=\"round\"" + Opacity("stroke-opacity", s.Fill) + "/>\n";
        break;
    }
  }
  return svg + "</svg>\n";
}

std::vector<uint8_t> RasteriseIcon(const std::vector<IconShape>& shapes, int size, int samplesPerSide) {
  std::vector<uint8_t> pixels(static_cast<size_t>(size) * static_cast<size_t>(size) * 4);
  const float step = 1.0f / static_cast<float>(size * samplesPerSide);
  const float samples = static_cast<float>(samplesPerSide * samplesPerSide);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      float r = 0, g = 0, b = 0, a = 0;  // premultiplied sums over the samples
      for (int sy = 0; sy < samplesPerSide; ++sy) {
        for (int sx = 0; sx < samplesPerSide; ++sx) {
          const float x = (static_cast<float>(px * samplesPerSide + sx) + 0.5f) * step;
          const float y = (static_cast<float>(py * samplesPerSide + sy) + 0.5f) * step;
          float cr = 0, cg = 0, cb = 0, ca = 0;
          for (const IconShape& s : shapes) {
            if (!Inside(s, x, y)) continue;
            const Rgba c = ColourAt(s, y);
            cr = c.r * c.a + cr * (1.0f - c.a);
            cg = c.g * c.a + cg * (1.0f - c.a);
            cb = c.b * c.a + cb * (1.0f - c.a);
            ca = c.a + ca * (1.0f - c.a);
          }
          r += cr, g += cg, b += cb, a += ca;
        }
      }
      uint8_t* out = &pixels[(static_cast<size_t>(py) * static_cast<size_t>(size) + static_cast<size_t>(px)) * 4];
      auto byte = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
      const float alpha = a / samples;
      out[0] = byte(alpha > 0 ? r / a : 0);
      out[1] = byte(alpha > 0 ? g / a : 0);
      out[2] = byte(alpha > 0 ? b / a : 0);
      out[3] = byte(alpha);
    }
  }
  return pixels;
}

std::string WritePngRgba(const std::string& path, const std::vector<uint8_t>& pixels, int width, int height) {
  if (pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4) return "wrong pixel count";
  SafeFile file(path);
  if (!file.Opened()) return file.ErrorText();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return "cannot start a PNG";
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return "cannot write the PNG";
  }
  png_init_io(png, file.Stream());
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGBA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, &pixels[static_cast<size_t>(y) * static_cast<size_t>(width) * 4]);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return file.Commit() ? std::string() : file.ErrorText();
}

}  // namespace orvane::tools
