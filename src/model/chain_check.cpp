#include "model/chain_check.h"

#include <vector>

namespace orvane {
namespace {

struct ChainRow {
  int32_t Code = -1;
  int32_t EffectLink = -1;
  int32_t StarLink = -1;
};

int32_t EffectLink(const TBaseDevice& d) { return d.NextEffExists ? d.NextEffCode : -1; }
int32_t StarLink(const TBaseDevice& d) { return d.NextParExists ? d.NextParCode : -1; }

void FillRows(const DeviceRecords& devices, std::vector<ChainRow>& rows) {
  for (size_t i = 0; i < devices.size(); ++i) {
    const TBaseDevice& d = *devices[i];
    rows[i] =
        (d.NextEffExists || d.NextParExists) ? ChainRow{d.Definition.Code, EffectLink(d), StarLink(d)} : ChainRow{};
  }
}

bool PassFindsCycle(const TBaseDevice& root, std::vector<ChainRow>& rows) {
  const int32_t cur = root.Definition.Code;
  int32_t e = EffectLink(root);
  int32_t p = StarLink(root);
  for (ChainRow& row : rows) {
    if (row.Code == -1) continue;
    if (row.Code == e || row.Code == p) {
      row.Code = cur;
      e = row.EffectLink;
      p = row.StarLink;
    }
    if (row.Code == row.EffectLink || row.Code == row.StarLink) return true;
  }
  return false;
}

}  // namespace

bool HasRecursion(const DeviceRecords& devices) {
  std::vector<ChainRow> rows(devices.size());
  for (const auto& root : devices) {
    FillRows(devices, rows);
    if (PassFindsCycle(*root, rows)) return true;
  }
  return false;
}

}  // namespace orvane
