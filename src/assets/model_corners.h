#pragma once
// The stream of corners a mesh is drawn from, shared by the GL drawing and by the tests:
// for every face, its corners a, b, c with normal, texture coordinate and position.

#include "assets/model_3ds.h"

namespace orvane {

// Corners without a texture coordinate get (0, 0); faces that name a missing vertex are
// left out.
template <typename Visit>
void ForEachDrawnCorner(const T3DObject& object, Visit&& visit) {
  const size_t vertices = object.Vertices.size();
  for (const TFace& face : object.Faces) {
    const int32_t corners[3] = {face.a, face.b, face.c};
    bool inside = true;
    for (int32_t k : corners) inside = inside && k >= 0 && static_cast<size_t>(k) < vertices;
    if (!inside) continue;
    for (int32_t k : corners) {
      const auto i = static_cast<size_t>(k);
      const TTexCoord tex = i < object.TexCoords.size() ? object.TexCoords[i] : TTexCoord{};
      const TVector3 normal = i < object.Normals.size() ? object.Normals[i] : TVector3{};
      visit(normal, tex, object.Vertices[i]);
    }
  }
}

}  // namespace orvane
