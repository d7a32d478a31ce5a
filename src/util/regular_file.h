#pragma once
// Opening a file that must be a regular file, for reading. A FIFO would block the open
// itself until a writer comes, and a device may never end: the name is looked at first,
// then opened without waiting, and the descriptor is checked in case the name was swapped
// in between.

#include <cstdint>
#include <filesystem>

namespace orvane {

enum class RegularFileFault : uint8_t {
  kNone,
  kCannotLook,  // the name could not be looked at (Errno: ENOENT when there is none)
  kNotRegular,  // a folder, FIFO, device or socket: never read from
  kCannotOpen,  // Errno says why
};

struct RegularFile {
  int Fd = -1;  // open for blocking reads when Fault is kNone; the caller closes it
  uint64_t Size = 0;
  RegularFileFault Fault = RegularFileFault::kNone;
  int Errno = 0;
};

RegularFile OpenRegularFile(const std::filesystem::path& path);

}  // namespace orvane
