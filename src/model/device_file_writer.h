#pragma once
// Writes device records as device definition files that the loader reads back to the
// same record: every key, booleans as 0/1, decimals in their shortest exact form with
// ".", ColorData as upper-case hexadecimal pairs.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/device_lookup.h"
#include "util/result.h"

namespace orvane {

// "<code>.odev" for a device, "<code>.osub" for a sub-device.
std::string DeviceFileName(const TBaseDevice& device);

std::string EncodeColorData(const SegmentList& segments);

// A text as an INI value that reads back unchanged. A profile value is one line, so each
// line break (CR LF, CR or LF) and each NUL becomes one space: such a text cannot
// round-trip, and this keeps its words without letting it add keys. A text with blanks
// or quotes at either end is written in double quotes, which the reader strips.
std::string ProfileTextValue(std::string_view text);

// The whole file. A sub-device's Definition and Additional keys are written too, though
// the loader does not read them back.
std::string DeviceFileText(const TBaseDevice& device);

// Whether the device differs from its file as read; true for a device made in the program.
bool ChangedSinceRead(const TBaseDevice& device);

// What a save writes for the device: the file as it was read while the device is
// unchanged; its file with only the changed values set (SetProfileValues) once it has
// changed, so the keys and sections the reader skipped stay; DeviceFileText for a device
// that was never read.
std::string DeviceSaveText(const TBaseDevice& device);

// Whether saving the device into `folder` would write back the very file it was read from,
// unchanged: such a save writes nothing.
bool SavedAsRead(const TBaseDevice& device, const std::filesystem::path& folder);

// Writes the device's file into `folder` (through a temporary file, so a failed write
// never leaves half a file under the real name). The error message, or nothing.
Result<> SaveDeviceFile(const TBaseDevice& device, const std::filesystem::path& folder);

struct SaveReport {
  size_t Written = 0;
  size_t Unchanged = 0;  // devices whose files in the folder are the ones they were read from
  // Devices not written because an earlier device of the list has the same file name
  // (the one lookups by code find).
  std::vector<int32_t> DuplicateCodes;
  std::optional<std::string> Error;  // the first write that failed ends the save
};

SaveReport SaveDeviceFolder(const DeviceRecords& devices, const std::filesystem::path& folder);

// The file names a save of `devices` would replace in `folder`.
std::vector<std::string> ExistingDeviceFiles(const DeviceRecords& devices, const std::filesystem::path& folder);

}  // namespace orvane
