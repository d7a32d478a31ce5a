#pragma once
// The display window's drawing panel: a QOpenGLWidget with a compatibility-profile,
// double-buffered RGBA context with depth. It only forwards: context ready, resize, paint
// and the mouse, to whoever owns it.

#include <functional>

#include <QOpenGLWidget>

namespace orvane {

struct ContextFacts;

class OpenGLPanel : public QOpenGLWidget {
  Q_OBJECT
 public:
  explicit OpenGLPanel(QWidget* parent = nullptr);

  // Size in device pixels, as GL sees it.
  int PixelWidth() const;
  int PixelHeight() const;

  std::function<void(const ContextFacts&)> OnInitialize;
  std::function<void()> OnResize;
  std::function<void()> OnPaint;
  std::function<void(QMouseEvent*)> OnMousePress, OnMouseMove, OnMouseRelease, OnDoubleClick;

 protected:
  void initializeGL() override;
  void resizeGL(int w, int h) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace orvane
