#pragma once
// Writing several files of one folder so that none is left half-written: every file goes
// to a fresh temporary file in the same folder first, and only when all of them are
// written are they renamed over their real names.

#include <filesystem>
#include <string>
#include <vector>

#include "util/result.h"

namespace orvane {

struct FileContent {
  std::string Name;  // a plain file name within the folder
  std::string Bytes;
};

// A failure before the renames leaves the folder as it was (the temporary files are removed).
Result<> WriteFilesTogether(const std::filesystem::path& folder, const std::vector<FileContent>& files);

// The file's bytes when it is a regular file of at most maxBytes; a FIFO or device is
// never read from.
Result<std::string> ReadSmallFile(const std::filesystem::path& path, uintmax_t maxBytes);

}  // namespace orvane
