#include "ui/qt_key_codes.h"

#include <Qt>

#include "viewer/camera_input.h"

namespace orvane {

int32_t DisplayKeyCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyReturn;
    case Qt::Key_Pause: return kKeyPause;
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_Space: return kKeySpace;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    case Qt::Key_F1: return kKeyF1;
    case Qt::Key_F2: return kKeyF2;
    case Qt::Key_F3: return kKeyF3;
    case Qt::Key_F4: return kKeyF4;
    case Qt::Key_F5: return kKeyF5;
    default: return 0;
  }
}

}  // namespace orvane
