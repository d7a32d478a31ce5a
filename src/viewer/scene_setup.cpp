#include "viewer/scene_setup.h"

#include "viewer/gl_headers.h"

namespace orvane {

void SetGlobalGlState() {
  glClearColor(0, 0, 0, 0);
  glShadeModel(GL_SMOOTH);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  // Additive blending is the default for the whole program.
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDepthFunc(GL_LESS);
  glEnable(GL_CULL_FACE);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

int32_t SetViewportAndProjection(int32_t width, int32_t height, const CameraState& camera) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfViewYDegrees, static_cast<double>(width) / height, kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(camera.Eye.x, camera.Eye.y, camera.Eye.z, camera.Target.x, camera.Target.y, camera.Target.z, 0, 1, 0);
  return height;
}

}  // namespace orvane
