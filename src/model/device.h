#pragma once
// The device record: one firework effect of the device list, with its simulation
// parameters, colour segments, compiled part, carried definition data and start position.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "model/color_segment.h"
#include "model/compiled_device.h"
#include "model/device_kinds.h"

namespace orvane {

struct TAdditDevice {
  std::string Trade;
  float Price1 = 0;
  std::string Dealer1;
  float Price2 = 0;
  std::string Dealer2;
  float Price3 = 0;
  std::string Dealer3;
  std::string Manufacturer;
  int16_t Weight = 0;
  int16_t Elevation = 0;
  std::string Warnings;
  bool operator==(const TAdditDevice&) const = default;
};

struct TCreditsDevice {
  std::string Author;
  std::string Company;
  double Date = 0;  // days since 1899-12-30, time of day as the fraction
  std::string Comments;
  bool operator==(const TCreditsDevice&) const = default;
};

struct TDefnDevice {
  int32_t Code = 0;
  std::string Name;
  bool Active = false;
  bool Kind = false;  // true = sub-device
  int32_t DelayA = 0;
  int32_t DelayB = 0;
  int32_t EffectLength = 0;  // ms, a copy of the simulation's
  std::string Description;
  int32_t DeviceIcon = 0;
  int32_t EffectIcon = 0;
  TAdditDevice Additional;
  TCreditsDevice Credits;
  bool operator==(const TDefnDevice&) const = default;
};

// The device file a record was read from, as it was read. A save keeps what the reader
// skipped (a sub-device's [Definition], unknown keys, comments) and writes no file for a
// device that has not changed since.
struct DeviceSource {
  std::filesystem::path Path;
  std::string Text;           // the file's bytes
  std::string WrittenAsRead;  // what the writer made of the record when it was read
};

struct TBaseDevice {
  // Angles: XY is vertical (from +x toward +y), XZ horizontal (from +x toward +z).
  int16_t ProjectionXY = 0;   // degrees, centre of the opening
  int16_t OpeningXY = 0;      // degrees, the whole opening around ProjectionXY
  int16_t ProjectionXZ = 0;   // degrees
  int16_t OpeningXZ = 0;      // degrees
  uint16_t StarQuantity = 0;  // stars
  orvane::StarKind StarKind = StarKind::None;
  bool TrailExists = false;
  int32_t TrailLife = 0;       // per cent of a star's remaining life
  int32_t StarWeight = 0;      // per cent, -100..100 (100: 0.002 scene units/frame² down)
  int32_t StarSpeed = 0;       // per cent (100: 0.3 scene units per frame)
  int32_t StarResistance = 0;  // per cent (100: drag 0.02 per frame)
  int32_t StarSize = 0;        // hundredths of a scene unit (10: the form's size 1.0)
  orvane::SpeedKind SpeedKind = SpeedKind::None;
  int32_t EffectLength = 0;  // ms
  int32_t MinStarLife = 0;   // per cent of MaxStarLife
  int32_t MaxStarLife = 0;   // per cent of EffectLength
  bool NextEffExists = false;
  int32_t NextEffCode = 0;   // device code; 0 when NextEffExists is off
  int32_t NextEffStart = 0;  // per cent of EffectLength; 0 when off
  bool NextParExists = false;
  int32_t NextParCode = 0;   // device code; 0 when NextParExists is off
  int32_t NextParStart = 0;  // per cent of a star's life; 0 when off
  SegmentList ColorData;
  // Shared so that a running compile keeps the parts it uses alive while the user
  // edits or deletes devices; never modified once prepared.
  std::shared_ptr<const TCompDevice> Compiled;
  TDefnDevice Definition;
  float BestX = 0;  // scene units
  float BestY = 0;  // scene units
  float BestZ = 0;  // scene units
  // Null for a device made in the program (a preset, the form).
  std::shared_ptr<const DeviceSource> Source;
};

}  // namespace orvane
