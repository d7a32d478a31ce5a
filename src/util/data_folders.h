#pragma once
// Where the program's shared data (example shows, the effect library, firing-script
// profiles) lives: beside an installed program in <prefix>/share/orvane, or, for a program
// run from its build folder, in the source tree it was built from.

#include <filesystem>
#include <optional>
#include <string_view>

namespace orvane {

// Names of the shared data folders, relative to the data root.
inline constexpr std::string_view kExamplesFolderName = "examples";
inline constexpr std::string_view kLibraryFolderName = "library";
inline constexpr std::string_view kProfilesFolderName = "profiles";
inline constexpr std::string_view kSafetyRulesFolderName = "safety-rules";

// Overrides every other rule when set (tests, packagers, users with their own library).
inline constexpr const char* kDataRootVariable = "ORVANE_DATA_DIR";
// What the manual pages say of it and of the installed folder.
inline constexpr const char* kDataRootHelp =
    "the folder of shared data (example shows, the effect library, firing-script profiles) to use instead of "
    "share/orvane beside the program";
inline constexpr const char* kInstalledDataFolder = "share/orvane";

// The data root for a program at `program` (the executable's path): $ORVANE_DATA_DIR; else
// <program's folder>/../share/orvane when it exists; else the source tree the build came from
// when it still exists; else nothing.
std::optional<std::filesystem::path> DataRootFor(const std::filesystem::path& program);

// The same for the running program (/proc/self/exe).
std::optional<std::filesystem::path> DataRoot();

// <data root>/<name> when that folder exists; nothing otherwise.
std::optional<std::filesystem::path> DataFolder(std::string_view name);

}  // namespace orvane
