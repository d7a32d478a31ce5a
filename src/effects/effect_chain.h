#pragma once
// A generated effect: its devices, root first, each chaining only to devices of the chain.
// Recipes build with indices into the chain; AssignCodes then gives every device a code
// that the target list does not use yet and rewrites the links to match.

#include <cstdint>
#include <vector>

#include "effects/effect_description.h"
#include "model/device_chain.h"
#include "util/result.h"

namespace orvane {

struct EffectChain {
  EffectDescription Description;
  std::vector<TBaseDevice> Devices;  // [0] is the root the product fires

  int32_t RootCode() const { return Devices.front().Definition.Code; }
};

// The lowest codes from `first` up that are not taken, one per device in chain order.
// Links (NextEffCode, NextParCode) hold chain indices before and codes after. Fails when
// the codes run out before int32 does.
Result<> AssignCodes(EffectChain& chain, const CodeTaken& taken, int32_t first);

// Every device's links name a device of the chain, and the first failure otherwise.
Result<> CheckChainLinks(const EffectChain& chain);

}  // namespace orvane
