#pragma once
// The desktop program's command line: what `orvane --help` prints and the manual page says,
// and what the words ask for. Toolkit-free so the manual page writer and tests reach it.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

inline constexpr const char* kProgramSummary =
    "designs firework devices and shows, compiles them and plays them in a 3D window";
// One line each: the arguments after "orvane", then what they do.
struct ProgramUsageLine {
  const char* Arguments;
  const char* Meaning;
};
inline constexpr ProgramUsageLine kProgramUsage[] = {
    {"", "starts with the device editor and the display window"},
    {"SHOW", "also opens SHOW, a show folder or the show.json inside one, in the show window"},
    {"--show DIR", "the same for the show folder DIR"},
    {"--help", "prints this text"},
    {"--version", "prints the version"},
};

struct ProgramArgs {
  enum class Action { Run, Help, Version, Refuse };
  Action What = Action::Run;
  std::optional<std::filesystem::path> ShowFolder;
  std::string Error;  // why the words were refused
};

// `words` without the program name, and without the toolkit's own options.
ProgramArgs ParseProgramArgs(const std::vector<std::string>& words);

// The show folder a path names: the folder itself, or the folder of a show.json (or of any
// file in a show folder, as a file manager passes it).
std::filesystem::path ShowFolderOf(const std::filesystem::path& path);

// True when the words ask only for text (help or version), which needs no display.
bool AsksForTextOnly(const std::vector<std::string>& words);

void PrintProgramHelp(std::ostream& out);
std::string ProgramVersionLine();

}  // namespace orvane
