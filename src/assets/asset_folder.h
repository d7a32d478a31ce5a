#pragma once
// The folder that model and texture file names are read from, and the file lookup that
// forgives letter case (the models name "STUCCO4.JPG", the files are "stucco4.jpg").

#include <filesystem>
#include <string>

namespace orvane {

// Ends in a path separator once the display window has set it; empty until then.
extern std::string AssetFolder;

// `path` itself when it exists; otherwise the entry of its folder whose name equals the
// last component ignoring ASCII letter case (the first in name order); else `path`.
std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& path);

// Equal ignoring ASCII letter case.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace orvane
