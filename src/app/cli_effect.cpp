// orvane-cli effect: a description becomes a calibrated product (its devices in a folder,
// its products.csv row printed). orvane-cli library: the generated shelf of the library.

#include <charconv>
#include <filesystem>
#include <ostream>
#include <set>

#include "app/cli_command.h"
#include "app/cli_effect.h"
#include "effects/effect_library.h"
#include "effects/effect_recipe.h"
#include "effects/effect_targets.h"
#include "effects/product_row.h"
#include "model/device_file_writer.h"
#include "util/data_folders.h"

namespace orvane::cli {
namespace fs = std::filesystem;

namespace {

// Codes of the device files already in the folder, read from their names.
std::set<int32_t> CodesInFolder(const fs::path& folder) {
  std::set<int32_t> codes;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".odev" && ext != ".osub") continue;
    const std::string stem = entry.path().stem().string();
    int32_t code = 0;
    const auto r = std::from_chars(stem.data(), stem.data() + stem.size(), code);
    if (r.ec == std::errc() && r.ptr == stem.data() + stem.size()) codes.insert(code);
  }
  return codes;
}

std::optional<int32_t> FirstCode(const CliArgs& args, CliIo& io) {
  if (!args.Has("--first-code")) return kGeneratedFirstCode;
  const std::string& text = args.Value("--first-code");
  int32_t code = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), code);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size() || code < 0) {
    ReportError(io, "--first-code takes a whole number from 0 up, not \"" + text + "\"");
    return std::nullopt;
  }
  return code;
}

}  // namespace

int WriteEffectDevices(const std::string& text, const fs::path& folder, int32_t firstCode, CliIo& io,
                       EffectChain& chain) {
  const Result<EffectDescription> description = ParseEffectDescription(text);
  if (!description) {
    ReportError(io, description.Message());
    return kExitBadInput;
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) {
    ReportError(io, folder.string() + " is not a folder and cannot be made");
    return kExitBadInput;
  }
  const std::set<int32_t> taken = CodesInFolder(folder);
  Result<EffectChain> made = MakeEffect(
      description.Value(), [&taken](int32_t code) { return taken.count(code) != 0; }, firstCode);
  if (!made) {
    ReportError(io, made.Message());
    return kExitBadInput;
  }
  std::vector<FileContent> files;
  for (const TBaseDevice& d : made.Value().Devices) files.push_back({DeviceFileName(d), DeviceFileText(d)});
  if (const Result<> written = WriteFilesTogether(folder, files); !written) {
    ReportError(io, written.Message());
    return kExitBadInput;
  }
  chain = std::move(made.Value());
  return kExitDone;
}

namespace {

int Effect(const CliArgs& args, CliIo& io) {
  if (args.Positionals.empty() || !args.Has("-o")) {
    ReportError(io, "effect needs a description and -o DIR, as in: orvane-cli effect \"100mm gold willow\" -o DIR");
    return kExitBadInput;
  }
  std::string text;
  for (const std::string& word : args.Positionals) text += (text.empty() ? "" : " ") + word;
  const std::optional<int32_t> first = FirstCode(args, io);
  if (!first) return kExitBadInput;
  EffectChain chain;
  const fs::path folder = args.Value("-o");
  if (const int status = WriteEffectDevices(text, folder, *first, io, chain); status != kExitDone) return status;
  const Result<MeasuredProduct> measured = MeasureGeneratedProduct(chain);
  if (!measured) {
    ReportError(io, "the effect could not be measured: " + measured.Message());
    return kExitBadInput;
  }
  const EffectMeasurement& m = measured.Value().Sizes;
  io.Out << "name: " << DescriptionText(chain.Description) << "\n"
         << "code: " << chain.RootCode() << "\n"
         << "devices: " << chain.Devices.size() << "\n"
         << "folder: " << folder.string() << "\n"
         << "break-height-m: " << FormatFixed(m.BreakHeightM, 1) << "\n"
         << "spread-m: " << FormatFixed(m.SpreadM, 1) << "\n"
         << "duration-s: " << FormatFixed(m.DurationS, 2) << "\n"
         << "product: " << ProductRowCsv(measured.Value().Row) << "\n";
  return kExitDone;
}

std::optional<fs::path> DefaultShelf(CliIo& io) {
  const std::optional<fs::path> root = DataRoot();
  if (!root) {
    ReportError(io, "no shared data folder was found beside the program or in its source tree; give the folder");
    return std::nullopt;
  }
  return *root / kLibraryFolderName / kGeneratedShelfName;
}

int Library(const CliArgs& args, CliIo& io) {
  const bool rebuild = args.Flags.count("--rebuild") != 0;
  const bool check = args.Flags.count("--check") != 0;
  if (rebuild == check) {
    ReportError(io, "library needs --rebuild [-o DIR] or --check [DIR]");
    return kExitBadInput;
  }
  std::optional<fs::path> folder;
  if (rebuild && args.Has("-o")) folder = args.Value("-o");
  if (check && !args.Positionals.empty()) folder = args.Positionals.front();
  if (!folder) folder = DefaultShelf(io);
  if (!folder) return kExitBadInput;
  const Result<ShelfContent> shelf = BuildGeneratedShelf();
  if (!shelf) {
    ReportError(io, shelf.Message());
    return kExitBadInput;
  }
  io.Out << "folder: " << folder->string() << "\n"
         << "products: " << shelf.Value().Products << "\n"
         << "files: " << shelf.Value().Files.size() << "\n";
  if (rebuild) {
    if (const Result<> written = WriteShelf(*folder, shelf.Value()); !written) {
      ReportError(io, written.Message());
      return kExitBadInput;
    }
    return kExitDone;
  }
  const std::vector<std::string> differences = ShelfDifferences(*folder, shelf.Value());
  io.Out << "differences: " << differences.size() << "\n";
  for (const std::string& difference : differences) ReportError(io, difference);
  if (!differences.empty()) {
    ReportError(io, "the generated shelf is not what the recipes make: run orvane-cli library --rebuild");
    return kExitRefused;
  }
  return kExitDone;
}

}  // namespace

CliCommand EffectCommand() {
  return {"effect",
          "makes a product from a description (calibre, colours, type, modifiers): writes its devices into DIR under "
          "codes not used there and prints its measured sizes and products.csv row",
          "\"DESCRIPTION\" -o DIR [--first-code N]",
          "orvane-cli effect \"100mm gold willow\" -o devices/",
          {"-o", "--first-code"},
          Effect};
}

CliCommand LibraryCommand() {
  return {"library",
          "--rebuild writes the library's generated shelf (devices and products.csv) from the recipes; --check "
          "compares a folder with what they make (exit 2 when it differs)",
          "(--rebuild [-o DIR] | --check [DIR])",
          "orvane-cli library --rebuild",
          {"-o"},
          Library,
          {"--rebuild", "--check"}};
}

}  // namespace orvane::cli
