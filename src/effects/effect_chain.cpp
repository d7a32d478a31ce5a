#include "effects/effect_chain.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <string>

namespace orvane {

namespace {

// A list holds far fewer devices; the bound keeps a lookup that says yes to everything
// from running for minutes.
constexpr int64_t kMaxCodesTried = 10'000'000;

}  // namespace

Result<> AssignCodes(EffectChain& chain, const CodeTaken& taken, int32_t first) {
  std::vector<int32_t> codes;
  const int64_t start = std::max<int32_t>(first, 0);
  for (int64_t code = start; codes.size() < chain.Devices.size(); ++code) {
    if (code > std::numeric_limits<int32_t>::max() || code - start > kMaxCodesTried)
      return Fail("No free device codes are left from " + std::to_string(start) + " on.");
    if (!taken(static_cast<int32_t>(code))) codes.push_back(static_cast<int32_t>(code));
  }
  auto codeOf = [&](int32_t index) {
    assert(index >= 0 && static_cast<size_t>(index) < codes.size());
    return codes[static_cast<size_t>(index)];
  };
  for (size_t i = 0; i < chain.Devices.size(); ++i) {
    TBaseDevice& d = chain.Devices[i];
    d.Definition.Code = codes[i];
    if (d.NextEffExists) d.NextEffCode = codeOf(d.NextEffCode);
    if (d.NextParExists) d.NextParCode = codeOf(d.NextParCode);
  }
  return {};
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
