#include "viewer/overlay_drawing.h"

#include "viewer/gl_headers.h"

namespace orvane {

void DrawOverlays(OverlayList& overlays, const BitmapFont& font, int32_t panel_width, int32_t panel_height,
                  const std::function<bool(const TTextAtt&)>& shown) {
  if (overlays.Empty()) return;
  glPushAttrib(GL_ENABLE_BIT);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, panel_width, 0, panel_height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glEnable(GL_BLEND);
  overlays.DrawAndFade([&font, &shown](const TTextAtt& line) {
    if (shown && !shown(line)) return;
    // The raster colour is taken when the position is set, so the colour comes first.
    glColor4f(line.Red, line.Green, line.Blue, line.Alpha);
    glRasterPos2i(line.X, line.Y);
    font.Draw(line.Text);
  });
  glDisable(GL_BLEND);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glEnable(GL_TEXTURE_2D);
  glPopAttrib();
}

}  // namespace orvane
