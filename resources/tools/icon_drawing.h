#pragma once
// The program's icon as a list of flat shapes in a unit square (y down), written both as a
// scalable SVG and rasterised to PNG sizes from the same list, so the two always match.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::tools {

struct Rgba {
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;  // straight alpha, 0..1
};

enum class ShapeKind { RoundedRect, Circle, Stroke };

// Coordinates and lengths in units of the icon's side.
struct IconShape {
  ShapeKind Kind = ShapeKind::Circle;
  float X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;  // rect corners, stroke ends; a circle's centre is (X0, Y0)
  float Radius = 0;                      // circle radius, corner radius, half the stroke's width
  Rgba Fill;                             // a rect's top colour
  Rgba FillBottom;                       // a rect's bottom colour (vertical gradient)
};

std::vector<IconShape> OrvaneIcon();

std::string IconSvg(const std::vector<IconShape>& shapes, int viewSize);

// Premultiplied-free RGBA8 rows, top row first, each shape sampled on an n x n grid per pixel.
std::vector<uint8_t> RasteriseIcon(const std::vector<IconShape>& shapes, int size, int samplesPerSide = 5);

// Writes RGBA8 pixels as a PNG through a temporary file; the error text, or empty.
std::string WritePngRgba(const std::string& path, const std::vector<uint8_t>& pixels, int width, int height);

}  // namespace orvane::tools
