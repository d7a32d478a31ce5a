#pragma once
// Device definition files: one device per INI file "<code>.odev" (device) or
// "<code>.osub" (sub-device), read into records of the device list.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/device_lookup.h"
#include "util/result.h"

namespace orvane {

// Device files are a few kilobytes; anything larger is not one and is skipped unread.
inline constexpr uintmax_t kMaxDeviceFileBytes = uintmax_t{1} << 20;

// The most memory the prepared tables of all loaded devices may take together; a device
// that would pass it is refused like one whose preparation failed.
inline constexpr uint64_t kMaxPreparedBytes = uint64_t{4} << 30;

enum class DeviceFileStatus {
  Loaded,           // a record was made (and, for LoadDeviceFile, appended)
  Skipped,          // not a usable device file; Message says why
  ConversionError,  // a decimal value was refused; Message is the conversion's message
};

struct DeviceFileResult {
  DeviceFileStatus Status = DeviceFileStatus::Skipped;
  std::string Message;
};

struct DeviceFileRead {
  DeviceFileResult Result;
  std::unique_ptr<TBaseDevice> Device;  // set when Loaded; not yet prepared
};

// Parses the bytes of one file whose name without folder and extension is `fileStem`.
// Files holding NUL bytes are binary, not device files, and are skipped.
DeviceFileRead ReadDeviceFile(std::string_view bytes, std::string_view fileStem);

// The segments of a ColorData value: a little-endian int32 count, then 11 bytes per
// segment (positions, flags, two little-endian colours). Only whole segments present in
// the bytes are made, however large the count.
SegmentList DecodeColorData(const std::vector<uint8_t>& bytes);

// The file's name without folder and without its last extension ("12.odev" gives "12").
std::string FileStem(const std::filesystem::path& path);

// Reads one file (any name: dropped files need not end in ".odev"), prepares the record
// and appends it to `devices`. Missing, unreadable, non-regular or oversized files are
// skipped, as is a record whose preparation fails or would take the prepared tables of
// `devices` past kMaxPreparedBytes.
DeviceFileResult LoadDeviceFile(const std::filesystem::path& path, DeviceRecords& devices, const PrepareStep& prepare);

struct SkippedFile {
  std::filesystem::path Path;
  std::string Reason;
};

struct FolderLoadReport {
  size_t Loaded = 0;
  std::vector<SkippedFile> Skipped;  // what the loader passed over, with the reason
  // Set when the load ended early: a refused decimal value (the conversion's message)
  // or a folder that cannot be listed. Devices read before stay.
  std::optional<std::string> Error;
  // The file whose refused decimal value ended the load; empty otherwise.
  std::filesystem::path ErrorFile;
};

struct DeviceFolderListing {
  // What a folder load reads, in order: "*.odev", then "*.osub" (extensions in any case),
  // each group in ascending byte order of file name.
  std::vector<std::filesystem::path> Files;
  std::vector<SkippedFile> Directories;  // named like device files, passed over
};

// Refused when the folder cannot be listed to its end.
Result<DeviceFolderListing> DeviceFilesInFolder(const std::filesystem::path& folder);

// Loads every device file of the folder into `devices` (appending; the caller clears).
FolderLoadReport LoadDeviceFolder(const std::filesystem::path& folder, DeviceRecords& devices,
                                  const PrepareStep& prepare);

// Loads the given files one by one; a refused decimal value ends the load.
FolderLoadReport LoadDeviceFiles(const std::vector<std::filesystem::path>& files, DeviceRecords& devices,
                                 const PrepareStep& prepare);

}  // namespace orvane
