#pragma once
// The compiled part of a device: what the particle simulation needs, in frames and
// scene units, with the per-star launch variants and colour tables. Built once per
// device by PrepareCompiledPart (compiler layer) and never changed afterwards, so a
// compile can share it with the device list without locks.

#include <array>
#include <cstdint>
#include <vector>

#include "model/device_kinds.h"

namespace orvane {

struct FrameColor {
  float Red = 0, Green = 0, Blue = 0, Alpha = 0;  // each 0..1
  bool operator==(const FrameColor&) const = default;
};

struct TCompPartics {
  // Five launch-velocity variants, scene units per frame; y is vertical.
  std::array<float, 5> VelX{};
  std::array<float, 5> VelY{};
  std::array<float, 5> VelZ{};
  int32_t LifeFrames = 0;          // frames; at least 1 once prepared
  std::vector<FrameColor> Colors;  // LifeFrames entries, index = age in frames
  int32_t NextParFrame = 0;        // age in frames that starts the chained effect
};

struct TCompDevice {
  int32_t Code = 0;
  uint16_t StarQuantity = 0;               // stars
  float BestX = 0, BestY = 0, BestZ = 0;   // scene units
  int16_t AngleXYFrom = 0, AngleXYTo = 0;  // degrees
  int16_t AngleXZFrom = 0, AngleXZTo = 0;  // degrees
  uint32_t EffectFrames = 1;               // frames (40 ms), at least 1
  int32_t MinLifeFrames = 0;               // frames
  int32_t MaxLifeFrames = 0;               // frames
  float Gravity = 0;                       // scene units per frame², negative pulls down
  float Speed = 0;                         // thousandths of a scene unit per frame
  float Resistance = 0;                    // drag per frame
  float Size = 0;                          // scene units: a star's quad width before Scale
  orvane::StarKind StarKind = StarKind::None;
  orvane::SpeedKind SpeedKind = SpeedKind::None;
  uint8_t TrailExists = 0;          // 0 or 1
  float TrailFactor = 0;            // trail life as a fraction of a star's remaining life
  uint8_t NextEffExists = 0;        // 0 or 1
  int32_t NextEffCode = 0;          // device code; 0 when off
  float NextEffFactor = -1.0f;      // start as a fraction of EffectFrames - 1; -1 when off
  uint8_t NextParExists = 0;        // 0 or 1
  int32_t NextParCode = 0;          // device code; 0 when off
  float NextParFactor = -1.0f;      // start as a fraction of a star's LifeFrames - 1; -1 when off
  std::vector<TCompPartics> Stars;  // StarQuantity entries once prepared
  // Memory the star and colour tables take, worked out by the preparation.
  uint64_t TableBytes = 0;  // bytes
};

}  // namespace orvane
