#include "viewer/particle_renderer.h"

#include <cmath>

#include "compiler/show_record.h"
#include "viewer/gl_headers.h"
#include "viewer/particle_record.h"

namespace orvane {
namespace {

struct Corner {
  float s, t;
  float r, u;  // signs of the right and up offsets
};
constexpr Corner kCorners[4] = {{0, 0, -1, -1}, {1, 0, 1, -1}, {1, 1, 1, 1}, {0, 1, -1, 1}};

// P - R - U and the like, with the float32 operations in the order the quad needs them.
void CornerPosition(const DecodedParticle& p, const float R[3], const float U[3], const Corner& c, float out[3]) {
  const float P[3] = {p.X, p.Y, p.Z};
  for (int k = 0; k < 3; ++k) {
    const float a = c.r < 0 ? P[k] - R[k] : P[k] + R[k];
    out[k] = c.u < 0 ? a - U[k] : a + U[k];
  }
}

void Scaled(const float v[3], float s, float out[3]) {
  for (int k = 0; k < 3; ++k) out[k] = v[k] * s;
}

// The flat view's squares lie in the plane z = 0; a point draws them exactly only when
// that plane faces the camera square on, unturned (as the default camera sees it).
bool FlatPlaneFacesCamera(const GLfloat m[16]) {
  constexpr float kTolerance = 1e-4f;
  return std::fabs(m[8]) < kTolerance && std::fabs(m[9]) < kTolerance && std::fabs(m[1]) < kTolerance &&
         std::fabs(m[4]) < kTolerance && std::fabs(m[0] - 1) < kTolerance && std::fabs(m[5] - 1) < kTolerance &&
         m[10] > 0;
}

// Immediate mode leaves the last particle's colour current; the other paths do the same.
void KeepLastColour(const uint8_t* bytes, size_t count) {
  if (count == 0) return;
  const DecodedParticle p = DecodeParticle(bytes + (count - 1) * kRecordSize);
  glColor4f(p.Red, p.Green, p.Blue, p.Alpha);
}

}  // namespace

void Normalize(float v[3]) {
  float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0) length = 1;
  for (int k = 0; k < 3; ++k) v[k] = v[k] / length;
}

void ParticleRenderer::Draw(const uint8_t* bytes, size_t size, uint32_t texture, bool billboards3d) {
  const size_t count = size / kRecordSize;
  glPushMatrix();
  glDepthMask(GL_FALSE);
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  const bool sprites =
      path_ == ParticlePath::Sprites && (billboards3d || FlatPlaneFacesCamera(m)) && sprites_.Available();
  if (sprites) {
    lastPath_ = ParticlePath::Sprites;
    sprites_.Draw(bytes, count, texture, !billboards3d);
    KeepLastColour(bytes, count);
  } else if (billboards3d) {
    float right[3] = {m[0], m[4], m[8]};
    float up[3] = {m[1], m[5], m[9]};
    Normalize(right);
    Normalize(up);
    lastPath_ = path_ == ParticlePath::Immediate ? ParticlePath::Immediate : ParticlePath::VertexArrays;
    if (lastPath_ == ParticlePath::VertexArrays) {
      DrawBillboardsArrays(bytes, count, right, up);
    } else {
      DrawBillboardsImmediate(bytes, count, right, up);
    }
  } else {
    lastPath_ = ParticlePath::Immediate;
    DrawFlat(bytes, count);
  }
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glDepthMask(GL_TRUE);
  glPopMatrix();
}

void ParticleRenderer::DrawBillboardsImmediate(const uint8_t* bytes, size_t count, const float right[3],
                                               const float up[3]) {
  glBegin(GL_QUADS);
  for (size_t i = 0; i < count; ++i) {
    const DecodedParticle p = DecodeParticle(bytes + i * kRecordSize);
    float R[3], U[3], v[3];
    Scaled(right, p.HalfSize, R);
    Scaled(up, p.HalfSize, U);
    glColor4f(p.Red, p.Green, p.Blue, p.Alpha);
    for (const Corner& c : kCorners) {
      CornerPosition(p, R, U, c, v);
      glTexCoord2f(c.s, c.t);
      glVertex3fv(v);
    }
  }
  glEnd();
}

void ParticleRenderer::DrawBillboardsArrays(const uint8_t* bytes, size_t count, const float right[3],
                                            const float up[3]) {
  vertices_.resize(count * 12);
  colors_.resize(count * 16);
  texcoords_.resize(count * 8);
  float* v = vertices_.data();
  float* col = colors_.data();
  float* tc = texcoords_.data();
  for (size_t i = 0; i < count; ++i) {
    const DecodedParticle p = DecodeParticle(bytes + i * kRecordSize);
    float R[3], U[3];
    Scaled(right, p.HalfSize, R);
    Scaled(up, p.HalfSize, U);
    for (const Corner& c : kCorners) {
      CornerPosition(p, R, U, c, v);
      v += 3;
      *col++ = p.Red;
      *col++ = p.Green;
      *col++ = p.Blue;
      *col++ = p.Alpha;
      *tc++ = c.s;
      *tc++ = c.t;
    }
  }
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, vertices_.data());
  glColorPointer(4, GL_FLOAT, 0, colors_.data());
  glTexCoordPointer(2, GL_FLOAT, 0, texcoords_.data());
  glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(count * 4));
  glPopClientAttrib();
  if (count > 0) glColor4fv(&colors_[(count * 4 - 1) * 4]);
}

// The flattened view keeps a translate per particle: folding it into the vertices would
// round differently from the matrix and move pixels.
void ParticleRenderer::DrawFlat(const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const DecodedParticle p = DecodeParticle(bytes + i * kRecordSize);
    const float s = p.HalfSize;
    glColor4f(p.Red, p.Green, p.Blue, p.Alpha);
    glPushMatrix();
    glTranslatef(p.X, p.Y, 0);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-s, -s, 0);
    glTexCoord2f(1, 0);
    glVertex3f(s, -s, 0);
    glTexCoord2f(1, 1);
    glVertex3f(s, s, 0);
    glTexCoord2f(0, 1);
    glVertex3f(-s, s, 0);
    glEnd();
    glPopMatrix();
  }
}

}  // namespace orvane
