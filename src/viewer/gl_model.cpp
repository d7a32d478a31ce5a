#include "viewer/gl_model.h"

#include "assets/model_corners.h"
#include "viewer/gl_headers.h"

namespace orvane {

namespace {

// Leaves the matrix untouched when there is nothing to apply; returns whether it pushed.
bool ApplyTransforms(const TTransformList& list) {
  if (!list.Enabled || list.Entries.empty()) return false;
  glPushMatrix();
  for (const TTransform& t : list.Entries) {
    if (!t.Enabled) continue;
    switch (t.Kind) {
      case TransformKind::Rotate: glRotatef(t.Angle, t.X, t.Y, t.Z); break;
      case TransformKind::Translate: glTranslatef(t.X, t.Y, t.Z); break;
      case TransformKind::Scale: glScalef(t.X, t.Y, t.Z); break;
    }
  }
  return true;
}

void DrawBounds(const T3DObject& object) {
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glColor3ub(0, 255, 0);
  const TVector3 hi = object.Max;
  const TVector3 lo = VectorSubtract(object.Max, object.Size);
  // One strip along the edges: bottom loop, up, top loop, then the three missing uprights.
  const float strip[][3] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z},
                            {lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z},
                            {lo.x, hi.y, hi.z}, {lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {lo.x, lo.y, hi.z},
                            {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}, {hi.x, lo.y, lo.z}};
  glBegin(GL_LINE_STRIP);
  for (const auto& p : strip) glVertex3f(p[0], p[1], p[2]);
  glEnd();
  glEnable(GL_LIGHTING);
}

}  // namespace

void Apply(const TMaterialProperties& property) { glMaterialfv(property.Face, property.Param, property.Color.data()); }

void Apply(const TMaterial& material) {
  Apply(material.Ambient);
  Apply(material.Diffuse);
  Apply(material.Specular);
  Apply(material.Emission);
  glMaterialfv(GL_FRONT, GL_SHININESS, &material.Shininess);
  if (material.SphereMapT) {
    glTexGenf(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_T);
  } else {
    glDisable(GL_TEXTURE_GEN_T);
  }
  if (material.SphereMapS) {
    glTexGenf(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
  } else {
    glDisable(GL_TEXTURE_GEN_S);
  }
  if (material.HasTexture && !material.TextureOff) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, material.TextureId);
  } else {
    glDisable(GL_TEXTURE_2D);
  }
}

void Draw(const T3DObject& object) {
  const bool pushed = ApplyTransforms(object.Transforms);
  if (object.ShowBounds) DrawBounds(object);
  Apply(object.Material);
  glPushName(static_cast<GLuint>(object.Index));
  const bool textured = object.Material.HasTexture;
  const auto& diffuse = object.Material.Diffuse.Color;
  glBegin(object.PrimitiveMode);
  ForEachDrawnCorner(object, [&](const TVector3& normal, const TTexCoord& tex, const TVector3& vertex) {
    glNormal3f(normal.x, normal.y, normal.z);
    if (textured) glTexCoord2f(tex.u, tex.v);
    else glColor3f(diffuse[0], diffuse[1], diffuse[2]);
    glVertex3f(vertex.x, vertex.y, vertex.z);
  });
  glEnd();
  glPopName();
  if (pushed) glPopMatrix();
}

void Draw(const T3DModel& model) {
  for (const T3DObject& object : model.Objects) {
    if (object.Visible) Draw(object);
  }
}

}  // namespace orvane
