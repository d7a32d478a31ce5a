#pragma once
// Triangle meshes built in display coordinates (y up). Every triangle is given the
// direction it must face, and its winding is set counter-clockwise seen from there.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvane::tools {

struct V3 {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};
V3 operator+(V3 a, V3 b);
V3 operator-(V3 a, V3 b);
V3 operator*(V3 a, float k);
float Dot(V3 a, V3 b);
V3 Cross(V3 a, V3 b);

struct V2 {
  float u = 0.0f, v = 0.0f;
};

struct Mesh {
  std::string Name;
  std::string Material;
  std::vector<V3> Points;
  std::vector<V2> TexCoords;
  std::vector<std::array<uint16_t, 3>> Faces;

  int AddVertex(V3 p, V2 t);
  void AddTriangle(int a, int b, int c, V3 facing);
  // A flat quad with vertices of its own (sharp edges), corners in order around it.
  void AddQuad(const std::array<V3, 4>& p, const std::array<V2, 4>& t, V3 facing);
};

// A box with planar texture coordinates: a face's size in units divided by (uScale, vScale).
// `skip` names faces to leave out: any of "+x -x +y -y +z -z".
void AddBox(Mesh& mesh, V3 lo, V3 hi, float uScale, float vScale, const std::string& skip = "");

// A surface of revolution. `profile` runs from the start of the axis to its end as
// (radius, height) pairs; the outside is at larger radius. `radius` may vary around the
// axis with the angle (flutes). Texture u wraps `uRepeats` times around, v = height / vScale.
struct Revolution {
  V3 Origin;
  V3 Axis{0, 1, 0};
  V3 Side1{1, 0, 0};
  V3 Side2{0, 0, 1};
  int Segments = 48;
  float uRepeats = 1.0f;
  float vScale = 1.0f;
  bool CapStart = false;
  bool CapEnd = false;
  std::function<float(float radius, float angle)> Shape;  // optional radius modulation
};
void AddRevolution(Mesh& mesh, const std::vector<std::array<float, 2>>& profile, const Revolution& how);

}  // namespace orvane::tools
