#pragma once
// A product's devices: the chain one root starts through its chaining links, and copies of
// it under codes another list does not use, so it can join that list without a clash.

#include <cstdint>
#include <functional>
#include <vector>

#include "model/device_lookup.h"
#include "util/result.h"

namespace orvane {

// True for a code the target list already has.
using CodeTaken = std::function<bool(int32_t code)>;

// Copies of the devices the root reaches (itself included), root first, then in list
// order; the first device of a code is the one lookups find. Empty when no device has it.
std::vector<TBaseDevice> ChainFrom(const DeviceRecords& devices, int32_t rootCode);

// Gives the devices, in order, the lowest codes from `first` up that are not taken and not
// repeated, and points their links at one another's new codes. A link to a code outside
// the chain started nothing where the chain came from and is switched off, so it cannot
// start a device of the list it joins. Fails, changing nothing, when the codes run out.
Result<> RenumberChain(std::vector<TBaseDevice>& chain, const CodeTaken& taken, int32_t first);

}  // namespace orvane
