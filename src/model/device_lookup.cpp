#include "model/device_lookup.h"

namespace orvane {

std::string NotPreparedReason(const PrepareResult& result) {
  return result.OutOfMemory ? "the device could not be prepared: there is not enough memory for its tables"
                            : "the device could not be prepared";
}

std::shared_ptr<const TCompDevice> FindByCode(const DeviceRecords& devices, int32_t code) {
  for (const auto& d : devices)
    if (d && d->Compiled && d->Compiled->Code == code) return d->Compiled;
  return nullptr;
}

std::shared_ptr<const TCompDevice> FindByCode(const CompiledParts& parts, int32_t code) {
  for (const auto& p : parts)
    if (p && p->Code == code) return p;
  return nullptr;
}

CompiledParts CompiledSnapshot(const DeviceRecords& devices) {
  CompiledParts parts;
  parts.reserve(devices.size());
  for (const auto& d : devices)
    if (d && d->Compiled) parts.push_back(d->Compiled);
  return parts;
}

}  // namespace orvane
