#pragma once
// How a device releases its stars and how their speeds spread. The values are the bytes
// that device files and compiled parts store. A file may hold any other byte: it is
// kept as read and written back unchanged. The simulation only tests for the named
// kinds, so a set of any other star kind releases its stars at once, as an explosive
// one does, yet relaunches them until the effect ends, as a progressive one does; any
// other speed kind gives homogeneous speeds.

#include <cstdint>

namespace orvane {

enum class StarKind : uint8_t {
  None = 0,         // neither choice made on the form
  Progressive = 1,  // a few stars per frame, relaunched until the effect ends
  Explosive = 2,    // every star at once, each flying once
};

enum class SpeedKind : uint8_t {
  None = 0,         // neither choice made on the form
  Random = 1,       // each variant between half and the whole star speed
  Homogeneous = 2,  // every variant at the whole star speed
};

constexpr uint8_t StoredByte(StarKind kind) { return static_cast<uint8_t>(kind); }
constexpr uint8_t StoredByte(SpeedKind kind) { return static_cast<uint8_t>(kind); }

}  // namespace orvane
