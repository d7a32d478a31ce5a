#pragma once
// A show for the compiler: root cues, each making a root set of a device at a frame and a
// place; and what the compile learns about each cue's particles.

#include <array>
#include <cstdint>
#include <vector>

namespace orvane {

struct RootCue {
  uint32_t Frame = 0;         // fires at the start of this frame, before its records are written
  int32_t Code = 0;           // device code, resolved through the compile's snapshot
  float X = 0, Y = 0, Z = 0;  // the root set's start point
};

// The fallout's outline is kept as the farthest reach in each of this many equal sectors
// around the cue's start point: bounded whatever the show, and fine enough for a plan.
inline constexpr int kFalloutSectors = 32;

// The sector of a horizontal offset from a cue's start point, counted from +x towards +z;
// sectors are equal steps of a pseudo-angle, so a little unequal in angle (8 to 14 degrees).
// The start point itself is in sector 0.
int FalloutSector(double dx, double dz);
// Where sector `sector` starts, in radians from +x towards +z; sector kFalloutSectors ends
// the turn at 2 pi.
double FalloutSectorStart(int sector);

// Over every particle written that descends from one cue: its root set, every set that
// set spawns, and their trail particles, culled ones included (the simulation went
// there). Scene units; frames count from the show's start.
struct CueExtent {
  bool Seen = false;  // the cue wrote at least one particle; the rest is meaningful then
  uint32_t FirstFrame = 0;
  uint32_t LastFrame = 0;
  double Height = 0;  // highest point above the cue's start point
  double Radius = 0;  // largest horizontal distance from the start point
  double Lowest = 0;  // lowest height (y) reached
  // Records of the cue not written: their position was beyond what the file can store.
  uint64_t Culled = 0;
  // The break: the first frame in which a set descending from the cue, other than its root
  // set, is made, and that set's start height above the cue's start point. A device that
  // chains to nothing never breaks.
  bool Broke = false;
  uint32_t BreakFrame = 0;
  double BreakHeight = 0;

  // The fallout: particles that came below the compile's fallout ceiling (a scene height,
  // CompileContext::FalloutCeilingY); nothing is gathered without one. Per sector
  // (FalloutSector), the largest horizontal distance of such a particle from the start point.
  bool FellLow = false;
  std::array<double, kFalloutSectors> FalloutReach{};

  uint32_t Frames() const { return Seen ? LastFrame - FirstFrame + 1 : 0; }
  bool operator==(const CueExtent&) const = default;
};

}  // namespace orvane
