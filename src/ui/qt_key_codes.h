#pragma once
// Qt's keys onto the key codes the display core understands; 0 for any other key.

#include <cstdint>

namespace orvane {

int32_t DisplayKeyCode(int qtKey);

}  // namespace orvane
