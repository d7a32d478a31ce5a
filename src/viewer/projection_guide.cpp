#include "viewer/projection_guide.h"

#include <cmath>

#include "viewer/gl_headers.h"

namespace orvane {

GuideRanges GuideRangesFor(int32_t proj_xy, int32_t open_xy, int32_t proj_xz, int32_t open_xz) {
  // C++ integer division truncates toward zero, as the guide needs.
  return {(proj_xy - open_xy / 2) / 5, (proj_xy + open_xy / 2) / 5, (proj_xz - open_xz / 2) / 5,
          (proj_xz + open_xz / 2) / 5};
}

void DrawProjectionGuide(const GuideRanges& g, const float origin[3]) {
  glDisable(GL_TEXTURE_2D);
  glPushMatrix();
  glTranslatef(origin[0], origin[1], origin[2]);
  glEnable(GL_LIGHTING);
  const GLfloat ambient[4] = {0.33f, 0.22f, 0.03f, 1};
  const GLfloat diffuse[4] = {0.78f, 0.57f, 0.11f, 1};
  const GLfloat specular[4] = {0.99f, 0.91f, 0.81f, 1};
  glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
  glMaterialf(GL_FRONT, GL_SHININESS, 27.8f);
  if (GLUquadric* sphere = gluNewQuadric()) {
    gluSphere(sphere, 0.1, 16, 16);
    gluDeleteQuadric(sphere);
  }
  glDisable(GL_LIGHTING);
  glBegin(GL_LINES);
  for (int32_t i = g.XYLow; i <= g.XYHigh; ++i) {
    const double a = 5.0 * i * M_PI / 180.0;
    for (int32_t j = g.XZLow; j <= g.XZHigh; ++j) {
      const double b = 5.0 * j * M_PI / 180.0;
      const double dx = std::cos(a) * std::cos(b), dy = std::sin(a), dz = std::cos(a) * std::sin(b);
      glColor3f(0.5f, 0.5f, 0.5f);
      glVertex3d(2.9 * dx, 2.9 * dy, 2.9 * dz);
      glColor3f(1, 0, 0);
      glVertex3d(3.0 * dx, 3.0 * dy, 3.0 * dz);
    }
  }
  glEnd();
  glPopMatrix();
}

}  // namespace orvane
