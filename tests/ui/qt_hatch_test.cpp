// The graph's hatch is drawn by the model; Qt's own backward-diagonal brush must agree
// pixel for pixel, so the graph looks the same as a hatched Qt brush would paint it.

#include <gtest/gtest.h>

#include <QPainter>

#include "model/color_editor_graph.h"
#include "ui/qt_rgb_image.h"

namespace orvane {
namespace {

void ExpectSameAsQtHatch(RgbImage image) {
  QImage qt = ToQImage(image);
  {
    QPainter painter(&qt);
    painter.fillRect(qt.rect(), QBrush(Qt::white, Qt::BDiagPattern));
  }
  PaintHatch(image);
  const QImage ours = ToQImage(image);
  int differing = 0;
  for (int y = 0; y < qt.height(); ++y) {
    for (int x = 0; x < qt.width(); ++x) differing += ours.pixel(x, y) != qt.pixel(x, y);
  }
  EXPECT_EQ(differing, 0) << image.Width() << " x " << image.Height();
}

TEST(QtHatch, MatchesBackwardDiagonalBrushOverOldColours) {
  RgbImage graph(kGraphWidth, kGraphHeight, Rgb8{10, 20, 30});
  DrawGraph(graph, {{0, 40, kFadeOut | kBlink, 0x0000FF, 0x0000FF}, {30, 90, kMixColor, 0x00FF00, 0xFF0000}});
  ExpectSameAsQtHatch(graph);
  ExpectSameAsQtHatch(RgbImage(13, 11, Rgb8{200, 0, 0}));
  ExpectSameAsQtHatch(RgbImage(1, 9, Rgb8{0, 0, 0}));
}

}  // namespace
}  // namespace orvane
