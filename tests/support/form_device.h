#pragma once
// A device record as the main window's controls start: 500 explosive stars over the full
// sphere, 2 s, homogeneous speed 20, weight 10, resistance 10, size 10, no chains.

#include <cstdint>

#include "model/device.h"

namespace orvane::testing {

TBaseDevice FormDevice(int32_t code);

}  // namespace orvane::testing
