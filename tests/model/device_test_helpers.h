#pragma once
// Helpers shared by the device tests: the real preparation step, field-by-field record
// comparison and minimal device file texts.

#include <string>

#include "compiler/compiled_device_prep.h"
#include "model/device_lookup.h"

namespace orvane::testing {

inline PrepareStep RealPrepare() {
  return [](TBaseDevice& d) { return PrepareCompiledPart(d); };
}

// Every stored field of the record (not the compiled part).
void ExpectSameRecord(const TBaseDevice& expected, const TBaseDevice& actual);

// A valid device file for `code` with the given lines appended (sections included).
std::string DeviceFileWith(int code, const std::string& moreLines = {}, bool subDevice = false);

}  // namespace orvane::testing
