#include "effects/effect_chain.h"

#include <algorithm>
#include <string>

namespace orvane {

Result<> AssignCodes(EffectChain& chain, const CodeTaken& taken, int32_t first) {
  for (size_t i = 0; i < chain.Devices.size(); ++i) chain.Devices[i].Definition.Code = static_cast<int32_t>(i);
  return RenumberChain(chain.Devices, taken, first);
}

Result<> CheckChainLinks(const EffectChain& chain) {
  auto known = [&](int32_t code) {
    return std::any_of(chain.Devices.begin(), chain.Devices.end(),
                       [code](const TBaseDevice& d) { return d.Definition.Code == code; });
  };
  for (const TBaseDevice& d : chain.Devices) {
    if ((d.NextEffExists && !known(d.NextEffCode)) || (d.NextParExists && !known(d.NextParCode)))
      return Fail("device " + std::to_string(d.Definition.Code) + " chains to a device outside its product");
  }
  return {};
}

}  // namespace orvane
