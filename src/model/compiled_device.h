#pragma once
// The compiled part of a device: what the particle simulation needs, in frames and
// scene units, with the per-star launch variants and colour tables. Built once per
// device by PrepareCompiledPart (compiler layer) and never changed afterwards, so a
// compile can share it with the device list without locks.

#include <array>
#include <cstdint>
#include <vector>

namespace orvane {

struct FrameColor {
  float Red = 0, Green = 0, Blue = 0, Alpha = 0;
  bool operator==(const FrameColor&) const = default;
};

struct TCompPartics {
  std::array<float, 5> VelX{};
  std::array<float, 5> VelY{};
  std::array<float, 5> VelZ{};
  int32_t LifeFrames = 0;           // at least 1 once prepared
  std::vector<FrameColor> Colors;   // LifeFrames entries, index = age in frames
  int32_t NextParFrame = 0;
};

struct TCompDevice {
  int32_t Code = 0;
  uint16_t StarQuantity = 0;
  float BestX = 0, BestY = 0, BestZ = 0;
  int16_t AngleXYFrom = 0, AngleXYTo = 0;
  int16_t AngleXZFrom = 0, AngleXZTo = 0;
  uint32_t EffectFrames = 1;
  int32_t MinLifeFrames = 0;
  int32_t MaxLifeFrames = 0;
  float Gravity = 0;
  float Speed = 0;
  float Resistance = 0;
  float Size = 0;
  uint8_t StarKind = 0;
  uint8_t SpeedKind = 0;
  uint8_t TrailExists = 0;
  float TrailFactor = 0;
  uint8_t NextEffExists = 0;
  int32_t NextEffCode = 0;
  float NextEffFactor = -1.0f;
  uint8_t NextParExists = 0;
  int32_t NextParCode = 0;
  float NextParFactor = -1.0f;
  std::vector<TCompPartics> Stars;
  // Memory the star and colour tables take, worked out by the preparation.
  uint64_t TableBytes = 0;
};

}  // namespace orvane
