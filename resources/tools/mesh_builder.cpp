#include "mesh_builder.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace orvane::tools {

V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

int Mesh::AddVertex(V3 p, V2 t) {
  if (Points.size() >= 65535) throw std::runtime_error("mesh " + Name + " has too many vertices");
  Points.push_back(p);
  TexCoords.push_back(t);
  return static_cast<int>(Points.size() - 1);
}

void Mesh::AddTriangle(int a, int b, int c, V3 facing) {
  const V3 n = Cross(Points[b] - Points[a], Points[c] - Points[a]);
  if (Dot(n, facing) < 0.0f) std::swap(b, c);
  Faces.push_back({static_cast<uint16_t>(a), static_cast<uint16_t>(b), static_cast<uint16_t>(c)});
}

void Mesh::AddQuad(const std::array<V3, 4>& p, const std::array<V2, 4>& t, V3 facing) {
  int i[4];
  for (int k = 0; k < 4; ++k) i[k] = AddVertex(p[k], t[k]);
  AddTriangle(i[0], i[1], i[2], facing);
  AddTriangle(i[0], i[2], i[3], facing);
}

void AddBox(Mesh& mesh, V3 lo, V3 hi, float uScale, float vScale, const std::string& skip) {
  auto wanted = [&](const char* face) { return skip.find(face) == std::string::npos; };
  auto uv = [&](float a, float b) { return V2{a / uScale, b / vScale}; };
  if (wanted("+x"))
    mesh.AddQuad({V3{hi.x, lo.y, hi.z}, V3{hi.x, lo.y, lo.z}, V3{hi.x, hi.y, lo.z}, V3{hi.x, hi.y, hi.z}},
                 {uv(-hi.z, lo.y), uv(-lo.z, lo.y), uv(-lo.z, hi.y), uv(-hi.z, hi.y)}, {1, 0, 0});
  if (wanted("-x"))
    mesh.AddQuad({V3{lo.x, lo.y, lo.z}, V3{lo.x, lo.y, hi.z}, V3{lo.x, hi.y, hi.z}, V3{lo.x, hi.y, lo.z}},
                 {uv(lo.z, lo.y), uv(hi.z, lo.y), uv(hi.z, hi.y), uv(lo.z, hi.y)}, {-1, 0, 0});
  if (wanted("+z"))
    mesh.AddQuad({V3{lo.x, lo.y, hi.z}, V3{hi.x, lo.y, hi.z}, V3{hi.x, hi.y, hi.z}, V3{lo.x, hi.y, hi.z}},
                 {uv(lo.x, lo.y), uv(hi.x, lo.y), uv(hi.x, hi.y), uv(lo.x, hi.y)}, {0, 0, 1});
  if (wanted("-z"))
    mesh.AddQuad({V3{hi.x, lo.y, lo.z}, V3{lo.x, lo.y, lo.z}, V3{lo.x, hi.y, lo.z}, V3{hi.x, hi.y, lo.z}},
                 {uv(-hi.x, lo.y), uv(-lo.x, lo.y), uv(-lo.x, hi.y), uv(-hi.x, hi.y)}, {0, 0, -1});
  if (wanted("+y"))
    mesh.AddQuad({V3{lo.x, hi.y, hi.z}, V3{hi.x, hi.y, hi.z}, V3{hi.x, hi.y, lo.z}, V3{lo.x, hi.y, lo.z}},
                 {uv(lo.x, -hi.z), uv(hi.x, -hi.z), uv(hi.x, -lo.z), uv(lo.x, -lo.z)}, {0, 1, 0});
  if (wanted("-y"))
    mesh.AddQuad({V3{lo.x, lo.y, lo.z}, V3{hi.x, lo.y, lo.z}, V3{hi.x, lo.y, hi.z}, V3{lo.x, lo.y, hi.z}},
                 {uv(lo.x, lo.z), uv(hi.x, lo.z), uv(hi.x, hi.z), uv(lo.x, hi.z)}, {0, -1, 0});
}

void AddRevolution(Mesh& mesh, const std::vector<std::array<float, 2>>& profile, const Revolution& how) {
  const int n = how.Segments;
  auto around = [&](float angle) { return how.Side1 * std::cos(angle) + how.Side2 * std::sin(angle); };
  auto angleOf = [&](int j) {
    return 2.0f * std::numbers::pi_v<float> * static_cast<float>(j) / static_cast<float>(n);
  };
  auto radiusAt = [&](float r, float angle) { return how.Shape ? how.Shape(r, angle) : r; };
  std::vector<std::vector<int>> rings;
  for (const auto& [r, h] : profile) {
    std::vector<int> ring;
    for (int j = 0; j <= n; ++j) {
      const float a = angleOf(j);
      const V3 p = how.Origin + how.Axis * h + around(a) * radiusAt(r, a);
      ring.push_back(mesh.AddVertex(p, {how.uRepeats * static_cast<float>(j) / static_cast<float>(n), h / how.vScale}));
    }
    rings.push_back(std::move(ring));
  }
  for (size_t i = 0; i + 1 < profile.size(); ++i) {
    // The outward normal of a profile step, in (radius, height): (dh, -dr).
    const float dr = profile[i + 1][0] - profile[i][0];
    const float dh = profile[i + 1][1] - profile[i][1];
    for (int j = 0; j < n; ++j) {
      const V3 facing = around(0.5f * (angleOf(j) + angleOf(j + 1))) * dh + how.Axis * (-dr);
      mesh.AddTriangle(rings[i][j], rings[i][j + 1], rings[i + 1][j + 1], facing);
      mesh.AddTriangle(rings[i][j], rings[i + 1][j + 1], rings[i + 1][j], facing);
    }
  }
  auto cap = [&](size_t at, float sign) {
    const auto& [r, h] = profile[at];
    const V3 centre = how.Origin + how.Axis * h;
    const int middle = mesh.AddVertex(centre, {0.5f, 0.5f});
    std::vector<int> edge;
    for (int j = 0; j <= n; ++j) {
      const float a = angleOf(j);
      const V3 p = centre + around(a) * radiusAt(r, a);
      edge.push_back(mesh.AddVertex(p, {0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a)}));
    }
    for (int j = 0; j < n; ++j) mesh.AddTriangle(middle, edge[j], edge[j + 1], how.Axis * sign);
  };
  if (how.CapStart) cap(0, -1.0f);
  if (how.CapEnd) cap(profile.size() - 1, 1.0f);
}

}  // namespace orvane::tools
