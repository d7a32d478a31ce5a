#include "ui/qt_font_service.h"

#include <QImage>
#include <QPainter>

namespace orvane {
namespace {

QFont OverlayFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(11);
  font.setBold(true);
  // glBitmap draws one bit per pixel: let the rasteriser decide each pixel itself.
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

}  // namespace

QtFontService::QtFontService() : font_(OverlayFont()), metrics_(font_) {}

std::optional<GlyphBitmap> QtFontService::Glyph(unsigned char character) {
  const QChar c = QChar::fromLatin1(static_cast<char>(character));
  if (!metrics_.inFontUcs4(c.unicode())) return std::nullopt;
  GlyphBitmap glyph;
  glyph.Advance = metrics_.horizontalAdvance(c);
  const QRect box = metrics_.boundingRect(c);
  if (box.isEmpty()) {
    // A blank as one unset pixel: a bitmap list without pixels is dropped whole by Mesa,
    // advance included, and the words would run together.
    glyph.Width = glyph.Height = 1;
    glyph.Bits = {0};
    return glyph;
  }
  QImage image(box.size(), QImage::Format_Grayscale8);
  image.fill(0);
  {
    QPainter p(&image);
    p.setFont(font_);
    p.setPen(Qt::white);
    p.drawText(QPoint(-box.left(), -box.top()), QString(c));
  }
  glyph.Width = box.width();
  glyph.Height = box.height();
  glyph.Left = box.left();
  glyph.Top = -box.top();
  glyph.Bits.resize(static_cast<size_t>(glyph.Width) * static_cast<size_t>(glyph.Height));
  for (int y = 0; y < glyph.Height; ++y) {
    const uchar* row = image.constScanLine(y);
    for (int x = 0; x < glyph.Width; ++x)
      glyph.Bits[static_cast<size_t>(y) * static_cast<size_t>(glyph.Width) + static_cast<size_t>(x)] =
          row[x] >= 128 ? 1 : 0;
  }
  return glyph;
}

TextSize QtFontService::Extent(std::string_view text) {
  const QString q = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  return {metrics_.horizontalAdvance(q), metrics_.height()};
}

}  // namespace orvane
