#pragma once
// The seed a show compiles from. A new show draws one; a show folder without one takes a
// seed made from the bytes of its cue list, so every program compiles it alike.

#include <cstdint>
#include <string_view>

namespace orvane {

// FNV-1a over the bytes.
uint32_t SeedFromCueText(std::string_view cueFileBytes);

// A fresh seed from the system's random source.
uint32_t DrawShowSeed();

}  // namespace orvane
