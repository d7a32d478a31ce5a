// orvane-cli save: writes the device list as device definition files.

#include <filesystem>
#include <ostream>

#include "app/cli_command.h"
#include "app/cli_devices.h"
#include "compiler/compiled_device_prep.h"
#include "model/device_file_writer.h"

namespace orvane::cli {
namespace {

int Save(const CliArgs& args, CliIo& io) {
  if (!args.Has("-o")) {
    ReportError(io, "save needs -o DIR");
    return kExitBadInput;
  }
  DeviceList list([](TBaseDevice& d) { return PrepareCompiledPart(d); });
  if (const int status = LoadCliDevices(args, io, list); status != kExitDone) return status;
  const std::filesystem::path folder = args.Value("-o");
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder, ec)) {
    ReportError(io, folder.string() + " is not a folder and cannot be made");
    return kExitBadInput;
  }
  // The window asks before it replaces files; here only --force says yes.
  if (!args.Flags.count("--force")) {
    const std::vector<std::string> existing = ExistingDeviceFiles(list.Devices(), folder);
    if (!existing.empty()) {
      std::string names;
      for (const std::string& name : existing) names += (names.empty() ? "" : ", ") + name;
      ReportError(io, "not replacing files already in " + folder.string() + " (--force replaces them): " + names);
      return kExitBadInput;
    }
  }
  const SaveReport report = SaveDeviceFolder(list.Devices(), folder);
  for (int32_t code : report.DuplicateCodes)
    ReportError(io, "device " + std::to_string(code) + " not written: an earlier device has the same code");
  if (report.Error) {
    ReportError(io, *report.Error);
    return kExitBadInput;
  }
  io.Out << "written: " << report.Written << "\n"
         << "folder: " << folder.string() << "\n";
  return kExitDone;
}

}  // namespace

CliCommand SaveCommand() {
  return {"save",
          "writes the devices of a preset or a folder as device files (<code>.odev, <code>.osub) into DIR; "
          "files already there are replaced only with --force",
          "(--preset N | --devices DIR) -o DIR [--seed S] [--force]",
          "orvane-cli save --preset 2 -o devices/",
          {"--devices", "--preset", "--seed", "-o"},
          Save,
          {"--force"}};
}

}  // namespace orvane::cli
