#pragma once
// The device list's records and the lookups by code that chaining relies on.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/device.h"

namespace orvane {

// The owned records of the device list, in the order they were added. Records live
// behind pointers so that list-view items can refer to them while the list grows.
using DeviceRecords = std::vector<std::unique_ptr<TBaseDevice>>;

// The compiled parts of a device list, in the list's order: what a compile needs to
// resolve chained codes, safe to hand to another thread while the list changes.
using CompiledParts = std::vector<std::shared_ptr<const TCompDevice>>;

// How a preparation went: false when the device cannot be made, and then whether memory ran
// out (rather than the device being beyond what the tables allow), so a message can say so.
struct PrepareResult {
  PrepareResult(bool prepared) : Prepared(prepared) {}  // NOLINT: a plain yes or no converts
  static PrepareResult ShortOfMemory() {
    PrepareResult r(false);
    r.OutOfMemory = true;
    return r;
  }
  explicit operator bool() const { return Prepared; }

  bool Prepared = false;
  bool OutOfMemory = false;
};

// The compiled device preparation, injected so this layer does not depend on the
// compiler (the program passes PrepareCompiledPart).
using PrepareStep = std::function<PrepareResult(TBaseDevice&)>;

// "the device could not be prepared", with the reason when memory ran out.
std::string NotPreparedReason(const PrepareResult& result);

// The compiled part of the first record whose compiled part carries `code`, or null.
std::shared_ptr<const TCompDevice> FindByCode(const DeviceRecords& devices, int32_t code);
std::shared_ptr<const TCompDevice> FindByCode(const CompiledParts& parts, int32_t code);

CompiledParts CompiledSnapshot(const DeviceRecords& devices);

}  // namespace orvane
