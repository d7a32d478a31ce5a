#pragma once
// The main window's small pictures, drawn here rather than shipped: the device list's two
// images, the compile-and-visualize glyph and the About glyph.

#include <QIcon>
#include <QPixmap>

namespace orvane {

inline constexpr int kListImageSize = 16;

// Image 0: a device (a shell rising on its trail); image 1: a sub-device (a burst).
QPixmap DeviceListImage(int index);
QIcon RenderAndVisualizeGlyph();
QIcon AboutGlyph();

}  // namespace orvane
