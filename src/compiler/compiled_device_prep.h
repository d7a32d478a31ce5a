#pragma once
// Compiled device preparation: turns a device record into its compiled part (frame
// counts, per-frame physics, the star table with five launch variants per star and
// every star's colour and opacity for each frame of its life).

#include <array>
#include <cstdint>

#include "model/device.h"
#include "model/device_lookup.h"

namespace orvane {

// The most colour-table entries (stars x frames of life) one device may hold; a device
// beyond it is refused like one whose star table cannot be allocated.
inline constexpr int64_t kMaxColorEntries = int64_t{1} << 26;

// Fills device.Compiled from the simulation fields, ColorData, the start position and
// Definition.Code. False (and no compiled part) when the tables cannot be made, saying
// whether memory ran out.
PrepareResult PrepareCompiledPart(TBaseDevice& device);

// The scalar conversions of the preparation, without the star table.
TCompDevice CompiledScalars(const TBaseDevice& device);

// Spreads the stars over the one-degree grid of directions and draws their launch
// variants, lives and chain frames. Stars.size() must equal StarQuantity.
void BuildStarTable(TCompDevice& part);

// Colour and opacity of frame j of a star that lives n frames.
FrameColor FrameColorAt(const SegmentList& segments, int32_t j, int32_t n);

// 0x00BBGGRR to red, green, blue in 0..1.
std::array<float, 3> ColorToVec(uint32_t color);

}  // namespace orvane
