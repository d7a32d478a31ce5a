#pragma once
// The paint box of the colour editor: copies the graph bitmap to the screen unchanged.

#include <QWidget>

#include "model/color_editor_image.h"

namespace orvane {

class ColorGraphBox : public QWidget {
  Q_OBJECT
 public:
  // `bitmap` must outlive the box.
  ColorGraphBox(const RgbImage& bitmap, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const RgbImage& bitmap_;
};

}  // namespace orvane
