#include "ui/open_gl_panel.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWindow>

#include "ui/context_check.h"

namespace orvane {
namespace {

QSurfaceFormat WantedFormat() {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setAlphaBufferSize(8);
  format.setDepthBufferSize(24);
  return format;
}

void Forward(const std::function<void(QMouseEvent*)>& handler, QMouseEvent* event) {
  if (handler) handler(event);
}

}  // namespace

OpenGLPanel::OpenGLPanel(QWidget* parent) : QOpenGLWidget(parent) {
  setFormat(WantedFormat());
  setFocusPolicy(Qt::NoFocus);  // keys go to the window, which sees them all
  setMouseTracking(false);
}

int OpenGLPanel::PixelWidth() const { return static_cast<int>(width() * devicePixelRatioF()); }
int OpenGLPanel::PixelHeight() const { return static_cast<int>(height() * devicePixelRatioF()); }

void OpenGLPanel::initializeGL() {
  ContextFacts facts;
  facts.HasWindow = window() && window()->windowHandle();
  const QOpenGLContext* ctx = context();
  facts.ContextCreated = ctx && ctx->isValid();
  // Without a context there is no format to judge: the creation is what failed.
  facts.FormatFound = facts.FormatSet = !facts.ContextCreated;
  if (facts.ContextCreated) {
    const QSurfaceFormat f = ctx->format();
    facts.FormatFound = f.renderableType() == QSurfaceFormat::OpenGL && f.depthBufferSize() > 0 &&
                        f.redBufferSize() > 0 && f.greenBufferSize() > 0 && f.blueBufferSize() > 0;
    facts.FormatSet = f.profile() != QSurfaceFormat::CoreProfile;
    facts.ContextCurrent = QOpenGLContext::currentContext() == ctx;
  }
  if (OnInitialize) OnInitialize(facts);
}

void OpenGLPanel::resizeGL(int, int) {
  if (OnResize) OnResize();
}

void OpenGLPanel::paintGL() {
  if (OnPaint) OnPaint();
}

void OpenGLPanel::mousePressEvent(QMouseEvent* event) { Forward(OnMousePress, event); }
void OpenGLPanel::mouseMoveEvent(QMouseEvent* event) { Forward(OnMouseMove, event); }
void OpenGLPanel::mouseReleaseEvent(QMouseEvent* event) { Forward(OnMouseRelease, event); }
void OpenGLPanel::mouseDoubleClickEvent(QMouseEvent* event) { Forward(OnDoubleClick, event); }

}  // namespace orvane
