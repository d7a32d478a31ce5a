#include "util/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orvane {

RegularFile OpenRegularFile(const std::filesystem::path& path) {
  RegularFile file;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    file.Fault = RegularFileFault::kCannotLook;
    file.Errno = errno;
    return file;
  }
  if (!S_ISREG(info.st_mode)) {
    file.Fault = RegularFileFault::kNotRegular;
    return file;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    file.Fault = RegularFileFault::kCannotOpen;
    file.Errno = errno;
    return file;
  }
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    file.Fault = RegularFileFault::kNotRegular;
    return file;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file.Fd = fd;
  file.Size = static_cast<uint64_t>(info.st_size);
  return file;
}

}  // namespace orvane
