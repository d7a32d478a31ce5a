#pragma once
// The show window's "Site" view: the site plan's top view, live. Cues in the air at the
// play head are marked, violations are red with their shortfall, and a position dragged
// with the mouse moves with its cues (one edit when let go; Escape cancels). The decisions
// are the SiteViewModel's.

#include <QWidget>
#include <optional>

#include "export/site_plan_drawing.h"
#include "project/site_view_model.h"

namespace orvane {

class SiteView : public QWidget {
  Q_OBJECT
 public:
  // The project must outlive the view.
  explicit SiteView(ShowProject& project, QWidget* parent = nullptr);

  // After an edit or a compile.
  void Refresh();
  void SetPlayHead(int64_t ms);
  const SiteViewModel& Model() const { return model_; }
  // Where a point of the site is in the view as last painted.
  QPointF ViewPoint(const SitePoint& at) const { return transform_.ToView(at); }
  // The violations as the view lists them, one a line.
  QString ViolationLines() const;

 signals:
  // A move the project refused.
  void Refused(const QString& message);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  double UnitsPerMm() const;

  SiteViewModel model_;
  PlanTransform transform_;
  std::optional<PlanTransform> frozen_;  // during a drag
};

}  // namespace orvane
