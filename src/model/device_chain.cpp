#include "model/device_chain.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <string>

namespace orvane {
namespace {

// A list holds far fewer devices; the bound keeps a lookup that says yes to everything
// from running for minutes.
constexpr int64_t kMaxCodesTried = 10'000'000;

const TBaseDevice* First(const DeviceRecords& devices, int32_t code) {
  for (const auto& d : devices)
    if (d->Definition.Code == code) return d.get();
  return nullptr;
}

}  // namespace

std::vector<TBaseDevice> ChainFrom(const DeviceRecords& devices, int32_t rootCode) {
  std::set<int32_t> reached;
  std::vector<int32_t> pending = {rootCode};
  while (!pending.empty()) {
    const int32_t code = pending.back();
    pending.pop_back();
    const TBaseDevice* d = First(devices, code);
    if (d == nullptr || !reached.insert(code).second) continue;
    if (d->NextEffExists) pending.push_back(d->NextEffCode);
    if (d->NextParExists) pending.push_back(d->NextParCode);
  }
  std::vector<TBaseDevice> chain;
  if (const TBaseDevice* root = First(devices, rootCode)) chain.push_back(*root);
  for (const auto& d : devices) {
    const int32_t code = d->Definition.Code;
    if (code != rootCode && reached.count(code) != 0 && First(devices, code) == d.get()) chain.push_back(*d);
  }
  return chain;
}

Result<> RenumberChain(std::vector<TBaseDevice>& chain, const CodeTaken& taken, int32_t first) {
  std::vector<int32_t> codes;
  const int64_t start = std::max<int32_t>(first, 0);
  for (int64_t code = start; codes.size() < chain.size(); ++code) {
    if (code > std::numeric_limits<int32_t>::max() || code - start > kMaxCodesTried)
      return Fail("No free device codes are left from " + std::to_string(start) + " on.");
    if (!taken(static_cast<int32_t>(code))) codes.push_back(static_cast<int32_t>(code));
  }
  std::map<int32_t, int32_t> renamed;
  for (size_t i = 0; i < chain.size(); ++i) renamed.emplace(chain[i].Definition.Code, codes[i]);
  auto relink = [&renamed](bool& exists, int32_t& code, int32_t& startPercent) {
    if (!exists) return;
    const auto it = renamed.find(code);
    if (it != renamed.end()) {
      code = it->second;
    } else {
      exists = false;
      code = startPercent = 0;
    }
  };
  for (size_t i = 0; i < chain.size(); ++i) {
    TBaseDevice& d = chain[i];
    d.Definition.Code = codes[i];
    relink(d.NextEffExists, d.NextEffCode, d.NextEffStart);
    relink(d.NextParExists, d.NextParCode, d.NextParStart);
  }
  return {};
}

}  // namespace orvane
