#pragma once
// The model's RGB buffers as Qt images.

#include <QImage>

#include "model/color_editor_image.h"

namespace orvane {

// A view on the buffer's bytes, valid while the buffer lives and keeps its size.
QImage ImageView(const RgbImage& image);
// A deep copy, RGB32.
QImage ToQImage(const RgbImage& image);

QColor ToQColor(uint32_t color);  // from 0x00BBGGRR
uint32_t FromQColor(const QColor& color);

}  // namespace orvane
