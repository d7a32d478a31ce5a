#pragma once
// The chaining check: warns when devices start each other in a cycle.

#include "model/device_lookup.h"

namespace orvane {

// Follows the next-effect and per-star links forward through the list order from every
// device in turn, relabelling each reached device with the starting code; a cycle is a
// reached device that links back to that code. A device with both links off ends a
// chain, and a link to a code no device has is no cycle.
bool HasRecursion(const DeviceRecords& devices);

}  // namespace orvane
