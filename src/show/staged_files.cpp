#include "show/staged_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "util/output_path.h"
#include "util/regular_file.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

Failure CannotWrite(const fs::path& path, int error) {
  return Fail("The file \"" + path.string() + "\" could not be written: " + std::strerror(error) + ".");
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// A new temporary file next to the target, written and flushed to disk.
Result<> WriteTemporary(const fs::path& folder, const FileContent& file, fs::path& temporary) {
  std::string name = (folder / ("." + file.Name + ".XXXXXX")).string();
  const int fd = ::mkstemp(name.data());  // O_CREAT | O_EXCL: never an existing file or link
  if (fd < 0) return CannotWrite(folder / file.Name, errno);
  temporary = name;
  const bool written = ::fchmod(fd, 0644) == 0 && WriteAll(fd, file.Bytes) && ::fsync(fd) == 0;
  const int error = errno;
  if (::close(fd) != 0 || !written) return CannotWrite(folder / file.Name, written ? errno : error);
  return {};
}

}  // namespace

Result<> WriteFilesTogether(const fs::path& folder, const std::vector<FileContent>& files) {
  // Checked before anything is written: a folder in a file's place would refuse its
  // rename after others went through, and a FIFO or device would be replaced.
  for (const FileContent& file : files) {
    if (Result<> fits = CheckOutputTarget(folder / file.Name); !fits) return fits;
  }
  std::vector<fs::path> temporaries;
  auto removeTemporaries = [&temporaries] {
    std::error_code ignored;
    for (const fs::path& t : temporaries) fs::remove(t, ignored);
  };
  for (const FileContent& file : files) {
    fs::path temporary;
    Result<> written = WriteTemporary(folder, file, temporary);
    if (!temporary.empty()) temporaries.push_back(temporary);
    if (!written) {
      removeTemporaries();
      return written;
    }
  }
  for (size_t i = 0; i < files.size(); ++i) {
    if (::rename(temporaries[i].c_str(), (folder / files[i].Name).c_str()) != 0) {
      const int error = errno;
      temporaries.erase(temporaries.begin(), temporaries.begin() + static_cast<std::ptrdiff_t>(i));
      removeTemporaries();
      return CannotWrite(folder / files[i].Name, error);
    }
  }
  return {};
}

Result<std::string> ReadSmallFile(const fs::path& path, uintmax_t maxBytes) {
  const auto refused = [&path](const char* why) { return Fail("\"" + path.string() + "\" " + why); };
  const RegularFile file = OpenRegularFile(path);
  const bool gone = file.Errno == ENOENT || file.Errno == ENOTDIR;
  if (file.Fault == RegularFileFault::kCannotOpen && !gone) return refused("cannot be read.");
  if (file.Fault != RegularFileFault::kNone) return refused("is not a readable file.");
  const int fd = file.Fd;
  const uintmax_t size = file.Size;
  if (size > maxBytes) {
    ::close(fd);
    return Fail("\"" + path.string() + "\" is too large (" + std::to_string(size) + " bytes).");
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return refused("cannot be read.");
    }
    if (n == 0) break;  // shrank since fstat
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

}  // namespace orvane
