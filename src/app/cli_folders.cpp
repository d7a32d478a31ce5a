// orvane-cli folders: where the shared data this program uses was found.

#include <ostream>

#include "app/cli_command.h"
#include "util/data_folders.h"

namespace orvane::cli {
namespace {

int Folders(const CliArgs& args, CliIo& io) {
  if (!args.Positionals.empty()) {
    ReportError(io, "folders takes no arguments");
    return kExitBadInput;
  }
  const auto root = DataRoot();
  io.Out << "data: " << (root ? root->string() : "none") << "\n";
  for (const std::string_view name :
       {kExamplesFolderName, kLibraryFolderName, kProfilesFolderName, kSafetyRulesFolderName}) {
    const auto folder = DataFolder(name);
    io.Out << name << ": " << (folder ? folder->string() : "none") << "\n";
  }
  return kExitDone;
}

}  // namespace

CliCommand FoldersCommand() {
  return {"folders",
          "prints where the shared data was found: the data folder ($ORVANE_DATA_DIR, else share/orvane beside "
          "the installed program, else the source tree of a build) and its examples, library, profiles and "
          "safety rules folders (none when missing)",
          "",
          "orvane-cli folders",
          {},
          Folders};
}

}  // namespace orvane::cli
