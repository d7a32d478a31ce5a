#pragma once
// Writing several files of one folder so that none is left half-written: every file goes
// to a fresh temporary file in the same folder first, and only when all of them are
// written are they renamed over their real names.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

struct FileContent {
  std::string Name;  // a plain file name within the folder
  std::string Bytes;
};

// The failure message, or nothing. A failure before the renames leaves the folder as it
// was (the temporary files are removed).
std::optional<std::string> WriteFilesTogether(const std::filesystem::path& folder,
                                              const std::vector<FileContent>& files);

// The file's bytes when it is a regular file of at most maxBytes; the failure message
// otherwise (a FIFO or device is never opened).
std::optional<std::string> ReadSmallFile(const std::filesystem::path& path, uintmax_t maxBytes, std::string& bytes);

}  // namespace orvane
