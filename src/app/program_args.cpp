#include "app/program_args.h"

#include <ostream>
#include <system_error>

#include "util/version.h"

namespace orvane {

std::filesystem::path ShowFolderOf(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return path;
  // A missing path is kept as a folder so that opening it names what is missing.
  if (!std::filesystem::exists(path, error)) return path;
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

ProgramArgs ParseProgramArgs(const std::vector<std::string>& words) {
  ProgramArgs args;
  auto refuse = [&](std::string error) {
    args.What = ProgramArgs::Action::Refuse;
    args.Error = std::move(error);
    args.ShowFolder.reset();
    return args;
  };
  auto takeShow = [&](const std::string& path) {
    if (args.ShowFolder) return false;
    args.ShowFolder = ShowFolderOf(path);
    return true;
  };
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "--help" || w == "-h") {
      args.What = ProgramArgs::Action::Help;
    } else if (w == "--version") {
      if (args.What != ProgramArgs::Action::Help) args.What = ProgramArgs::Action::Version;
    } else if (w == "--show") {
      if (i + 1 >= words.size()) return refuse("--show needs a show folder");
      if (!takeShow(words[++i])) return refuse("only one show can be opened");
    } else if (w.starts_with("--show=")) {
      if (!takeShow(w.substr(7))) return refuse("only one show can be opened");
    } else if (w.size() > 1 && w[0] == '-') {
      return refuse("unknown option " + w + " (orvane --help lists them)");
    } else if (!w.empty() && !takeShow(w)) {
      return refuse("only one show can be opened");
    }
  }
  if (args.What != ProgramArgs::Action::Run) args.ShowFolder.reset();
  return args;
}

bool AsksForTextOnly(const std::vector<std::string>& words) {
  for (const std::string& w : words)
    if (w == "--help" || w == "-h" || w == "--version") return true;
  return false;
}

void PrintProgramHelp(std::ostream& out) {
  out << "orvane: " << kProgramSummary << ".\n\nusage:\n";
  for (const ProgramUsageLine& line : kProgramUsage) {
    const std::string call = std::string("orvane") + (*line.Arguments != '\0' ? " " : "") + line.Arguments;
    out << "  " << call << "\n      " << line.Meaning << "\n";
  }
}

std::string ProgramVersionLine() { return std::string("orvane ") + ProgramVersion(); }

}  // namespace orvane
