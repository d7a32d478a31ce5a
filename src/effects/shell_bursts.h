#pragma once
// The bursts of the aerial types: what a lift starts at its apex, sized so the burst's
// widest star reaches the calibre's spread.

#include <cstdint>
#include <vector>

#include "effects/effect_description.h"
#include "model/device.h"

namespace orvane::recipe {

// How the rising shell looks.
struct LiftLook {
  int Size = 6;
  int TrailLife = 25;
  uint32_t Colour = 0x3C96FF;  // a dim orange spark
};

struct ShellBurst {
  // [0] is the device the lift starts; links are indices among these devices.
  std::vector<TBaseDevice> Devices;
  LiftLook Lift;
};

ShellBurst BurstFor(const EffectDescription& description);

}  // namespace orvane::recipe
