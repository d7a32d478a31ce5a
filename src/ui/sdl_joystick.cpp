#include "ui/sdl_joystick.h"

#include <SDL.h>

namespace orvane {

SdlJoystick::SdlJoystick(QObject* parent) : QObject(parent) {
  // Events would need SDL's video; polling the joystick state does not.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  // SDL's own SIGINT/SIGTERM handlers only post a quit event nobody reads: the program
  // would ignore a logout or `kill`.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  sdlStarted_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  if (!sdlStarted_) return;
  SDL_JoystickEventState(SDL_IGNORE);
  if (SDL_NumJoysticks() > 0) joystick_ = SDL_JoystickOpen(0);
  if (!joystick_) return;
  connect(&timer_, &QTimer::timeout, this, &SdlJoystick::Poll);
  timer_.start(kPollMs);
}

SdlJoystick::~SdlJoystick() {
  timer_.stop();
  if (joystick_) SDL_JoystickClose(joystick_);
  if (sdlStarted_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void SdlJoystick::Poll() {
  SDL_JoystickUpdate();
  JoystickSample sample;
  const int axes = SDL_JoystickNumAxes(joystick_);
  for (int i = 0; i < 3 && i < axes; ++i) sample.Axis[i] = SDL_JoystickGetAxis(joystick_, i);
  const int buttons = SDL_JoystickNumButtons(joystick_);
  for (int i = 0; i < 4 && i < buttons; ++i) {
    if (SDL_JoystickGetButton(joystick_, i)) sample.Buttons |= 1u << i;
  }
  const JoystickEvents events = state_.Poll(sample);
  if (events.Move) emit Moved(events.Move->first, events.Move->second);
  if (events.ZMove) emit ZMoved(*events.ZMove);
  if (events.ButtonDown) emit ButtonDown(*events.ButtonDown);
}

}  // namespace orvane
