#pragma once
// What the display core needs from its host. The Qt window implements these with its
// widget, timers and queued invocations; headless programs and tests with plain objects.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "viewer/scenery.h"

namespace orvane {

// Size of the drawing panel in pixels.
class PanelSizeSource {
 public:
  virtual ~PanelSizeSource() = default;
  virtual int32_t PanelWidth() const = 0;
  virtual int32_t PanelHeight() const = 0;
};

// Runs a task later on the main thread (the thread that owns the GL context). Post never
// blocks and may be called from any thread.
class MainThreadPoster {
 public:
  virtual ~MainThreadPoster() = default;
  virtual void Post(std::function<void()> task) = 0;
};

// A periodic timer whose ticks arrive on a thread of its own; destroying it stops it and
// waits for a tick in progress.
class PeriodicTimer {
 public:
  virtual ~PeriodicTimer() = default;
};

class PeriodicTimerService {
 public:
  virtual ~PeriodicTimerService() = default;
  // Nothing when no timer could be made.
  virtual std::unique_ptr<PeriodicTimer> Start(int32_t period_ms, int32_t resolution_ms,
                                               std::function<void()> tick) = 0;
};

// The particle sprite as a GL texture (the embedded "particle.BMP" in the program).
class ParticleSpriteSource {
 public:
  virtual ~ParticleSpriteSource() = default;
  virtual bool LoadParticleTexture(uint32_t& texture_id) = 0;
};

// Loads the four scenery models and keeps them for as long as it lives.
class SceneryModelSource {
 public:
  virtual ~SceneryModelSource() = default;
  virtual SceneryModelDraws LoadSceneryModels() = 0;
};

}  // namespace orvane
