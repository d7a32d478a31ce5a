#pragma once
// The ranges of the main window's track bars: what a user can set by hand. Files may hold
// other values; generated devices keep within these so the window can show and edit them.

#include <optional>
#include <string>

#include "model/device.h"

namespace orvane {

struct TrackRange {
  int Min = 0;
  int Max = 0;
  bool Holds(int value) const { return value >= Min && value <= Max; }
};

inline constexpr TrackRange kProjectionRange{0, 360};  // ProjXYTrack, ProjXZTrack, degrees
inline constexpr TrackRange kOpeningRange{1, 360};     // OpenXYTrack, OpenXZTrack, degrees
inline constexpr TrackRange kTrailRange{0, 100};       // TrailTrack, per cent
inline constexpr TrackRange kWeightRange{-100, 100};   // PesoTrack, per cent
inline constexpr TrackRange kSpeedRange{0, 100};       // VelocTrack, per cent
inline constexpr TrackRange kResistanceRange{1, 100};  // ResistTrack, per cent
inline constexpr TrackRange kSizeRange{5, 30};         // SizeTrack, tenths
inline constexpr TrackRange kLifeRange{0, 100};        // VidaMaxTrack, VidaMinTrack, per cent
inline constexpr TrackRange kChainStartRange{0, 100};  // NextEffPosTrack, NextParPosTrack, per cent
// The first field of the record that the main window could not have set ("StarSpeed 120
// is outside 0 to 100"), or nothing when every field is within the window's ranges.
std::optional<std::string> OutsideFormRanges(const TBaseDevice& device);

}  // namespace orvane
