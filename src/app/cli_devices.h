#pragma once
// The device list of a command: `--devices DIR` (a folder load, as the Load button) or
// `--preset N` (as the preset buttons), after `--seed S` has put the random generator
// in seeded mode, so that every preparation and the compile repeat.

#include "app/cli_command.h"
#include "model/device_list.h"

#include <cstdint>
#include <optional>

namespace orvane::cli {

// kExitDone, or the exit status after a message on stderr. `report` (may be null) gets
// what a folder load read and skipped.
int LoadCliDevices(const CliArgs& args, CliIo& io, DeviceList& list, FolderLoadReport* report = nullptr);

// " <file> was skipped: <reason>." for the skipped file named after `code`, or nothing:
// what a missing root's message adds, so a device that could not be prepared (say, for
// want of memory) is not reported as absent.
std::string SkippedDeviceNote(const FolderLoadReport& report, int32_t code);

// Reads --seed and enables seeded mode; kExitDone when absent.
int ApplyCliSeed(const CliArgs& args, CliIo& io);

// Reads --seed into `seed` (left alone when absent); kExitDone, or the status after the message.
int ReadCliSeed(const CliArgs& args, CliIo& io, std::optional<uint32_t>& seed);

}  // namespace orvane::cli
