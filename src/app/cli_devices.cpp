#include "app/cli_devices.h"

#include <charconv>
#include <filesystem>
#include <ostream>

#include "app/cli_dialogs.h"
#include "model/presets.h"
#include "util/random.h"

namespace orvane::cli {
namespace {

template <typename T>
bool ParseWhole(const std::string& text, T& value) {
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, value);
  return !text.empty() && r.ec == std::errc() && r.ptr == end;
}

int LoadFolder(const std::filesystem::path& folder, const CliArgs& args, CliIo& io, DeviceList& list,
               FolderLoadReport* loaded) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    ReportError(io, folder.string() + " is not a folder");
    return kExitBadInput;
  }
  StderrDialogs dialogs(io.Err);
  const FolderLoadReport report = list.LoadFolder(folder, dialogs);
  if (loaded != nullptr) *loaded = report;
  if (args.Verbose()) {
    for (const SkippedFile& s : report.Skipped) ReportError(io, "skipped " + s.Path.string() + ": " + s.Reason);
    io.Err << "orvane-cli: " << report.Loaded << " devices loaded from " << folder.string() << "\n";
  }
  // The list's own error box has shown the message; a load cut short must not go on
  // with devices silently missing.
  return report.Error ? kExitBadInput : kExitDone;
}

int LoadPreset(const std::string& text, CliIo& io, DeviceList& list) {
  int k = 0;
  if (!ParseWhole(text, k) || k < 1 || k > kPresetCount) {
    ReportError(io, "--preset takes 1 to 6, not \"" + text + "\"");
    return kExitBadInput;
  }
  StderrDialogs dialogs(io.Err);
  ApplyPreset(k, list, dialogs);
  return kExitDone;
}

}  // namespace

int ReadCliSeed(const CliArgs& args, CliIo& io, std::optional<uint32_t>& seed) {
  if (!args.Has("--seed")) return kExitDone;
  uint32_t value = 0;
  if (!ParseWhole(args.Value("--seed"), value)) {
    ReportError(io, "--seed takes a whole number from 0 to 4294967295, not \"" + args.Value("--seed") + "\"");
    return kExitBadInput;
  }
  seed = value;
  return kExitDone;
}

int ApplyCliSeed(const CliArgs& args, CliIo& io) {
  std::optional<uint32_t> seed;
  if (const int status = ReadCliSeed(args, io, seed); status != kExitDone) return status;
  if (seed) EnableSeededMode(*seed);
  return kExitDone;
}

std::string SkippedDeviceNote(const FolderLoadReport& report, int32_t code) {
  for (const SkippedFile& skipped : report.Skipped) {
    if (FileStem(skipped.Path) == std::to_string(code))
      return " " + skipped.Path.string() + " was skipped: " + skipped.Reason + ".";
  }
  return {};
}

int LoadCliDevices(const CliArgs& args, CliIo& io, DeviceList& list, FolderLoadReport* report) {
  const bool folder = args.Has("--devices");
  const bool preset = args.Has("--preset");
  if (folder == preset) {
    ReportError(io, "give either --devices DIR or --preset N");
    return kExitBadInput;
  }
  if (const int status = ApplyCliSeed(args, io); status != kExitDone) return status;
  return folder ? LoadFolder(args.Value("--devices"), args, io, list, report)
                : LoadPreset(args.Value("--preset"), io, list);
}

}  // namespace orvane::cli
