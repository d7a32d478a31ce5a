#include "viewer/scenery.h"

#include "viewer/gl_headers.h"

namespace orvane {
namespace {

void SetUpLight(GLenum light, const GLfloat position[4]) {
  const GLfloat ambient[4] = {0.8f, 0.8f, 0.8f, 1};
  const GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
  const GLfloat specular[4] = {0.1f, 0.1f, 0.1f, 1};
  glLightfv(light, GL_POSITION, position);
  glLightfv(light, GL_SPECULAR, specular);
  glLightfv(light, GL_AMBIENT, ambient);
  glLightfv(light, GL_DIFFUSE, diffuse);
}

void Draw(const std::function<void()>& model) {
  if (model) model();
}

// Three segments ending at a top corner, grey at their far end and cyan at the corner.
void CornerMarks(float x, float y, float z) {
  const float inward_x = x > 0 ? x - 1 : x + 1;
  const float inward_z = z > 0 ? z - 1 : z + 1;
  const float starts[3][3] = {{x, y - 1, z}, {inward_x, y, z}, {x, y, inward_z}};
  for (const auto& s : starts) {
    glColor3f(0.2f, 0.2f, 0.2f);
    glVertex3f(s[0], s[1], s[2]);
    glColor3f(0, 1, 1);
    glVertex3f(x, y, z);
  }
}

}  // namespace

void SetUpSceneryLights() {
  const GLfloat left[4] = {-5, 3, 5, 0};
  const GLfloat right[4] = {5, 3, 5, 0};
  SetUpLight(GL_LIGHT0, left);
  SetUpLight(GL_LIGHT1, right);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHT1);
}

uint32_t BuildGridList() {
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glPushMatrix();
  glColor3f(0, 0.5f, 0);
  glBegin(GL_LINES);
  for (int i = 0; i <= 12; ++i) {
    const float t = static_cast<float>(i / 2.0 - 3);
    glVertex3f(t, kGridFloorY, -3);
    glVertex3f(t, kGridFloorY, 3);
    glVertex3f(-3, kGridFloorY, t);
    glVertex3f(3, kGridFloorY, t);
  }
  CornerMarks(-3, 3, -3);
  CornerMarks(3, 3, -3);
  CornerMarks(-3, 3, 3);
  CornerMarks(3, 3, 3);
  glEnd();
  glPopMatrix();
  glEndList();
  return list;
}

uint32_t BuildSceneList(const SceneryModelDraws& models) {
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glDisable(GL_TEXTURE_2D);
  glPushMatrix();
  glEnable(GL_LIGHTING);
  glTranslatef(0, -2.8f, 0);
  Draw(models.Floor);
  glTranslatef(-2.5f, 0.2f, 2.5f);
  Draw(models.Column);
  glTranslatef(5, 0, 0);
  Draw(models.Column);
  glTranslatef(0, 0, -5);
  Draw(models.Column);
  glTranslatef(-5, 0, 0);
  Draw(models.Column);
  glRotatef(90, 0, 1, 0);
  glTranslatef(-2.5f, 3.56f, 0);
  Draw(models.Arc);
  glTranslatef(0, 0, 5);
  Draw(models.Arc);
  glDisable(GL_LIGHTING);
  glPopMatrix();
  glEndList();
  return list;
}

void DrawCameraMarker(const CameraState& camera, const std::function<void()>& camera_model, bool sight_line) {
  glDisable(GL_TEXTURE_2D);
  glPushMatrix();
  glEnable(GL_LIGHTING);
  glTranslatef(camera.Eye.x, camera.Eye.y, camera.Eye.z);
  glRotatef(camera.Yaw - 180, 0, 1, 0);
  glRotatef(camera.Pitch + 90, 1, 0, 0);
  glRotatef(-90, 0, 0, 1);
  Draw(camera_model);
  glDisable(GL_LIGHTING);
  glPopMatrix();
  if (!sight_line) return;
  glPushMatrix();
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glBegin(GL_LINES);
  glColor4f(1, 0, 0, 1);
  glVertex3f(camera.Eye.x, camera.Eye.y, camera.Eye.z);
  glColor4f(1, 0, 0, 0);
  glVertex3f(camera.Target.x, camera.Target.y, camera.Target.z);
  glEnd();
  glDisable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glPopMatrix();
}

}  // namespace orvane
