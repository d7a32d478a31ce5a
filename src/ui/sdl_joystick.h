#pragma once
// Joystick 1 through SDL's joystick subsystem (no SDL video), polled every 33 ms on the
// main thread. No joystick, or an SDL that cannot start, is silent: no event comes.

#include <QObject>
#include <QTimer>

#include "ui/joystick_state.h"

struct _SDL_Joystick;

namespace orvane {

class SdlJoystick : public QObject {
  Q_OBJECT
 public:
  static constexpr int kPollMs = 33;
  static constexpr uint32_t kAxisMax = 65535;

  explicit SdlJoystick(QObject* parent = nullptr);
  ~SdlJoystick() override;

 signals:
  void Moved(uint32_t x, uint32_t y);
  void ZMoved(uint32_t z);
  void ButtonDown(uint32_t buttons);

 private:
  void Poll();

  bool sdlStarted_ = false;
  _SDL_Joystick* joystick_ = nullptr;
  JoystickState state_;
  QTimer timer_;
};

}  // namespace orvane
