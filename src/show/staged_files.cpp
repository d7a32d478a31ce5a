#include "show/staged_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "util/output_path.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

std::string CannotWrite(const fs::path& path, int error) {
  return "The file \"" + path.string() + "\" could not be written: " + std::strerror(error) + ".";
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
std::optional<std::string> WriteTemporary(const fs::path& folder, const FileContent& file, fs::path& temporary) {
  std::string name = (folder / ("." + file.Name + ".XXXXXX")).string();
  const int fd = ::mkstemp(name.data());  // O_CREAT | O_EXCL: never an existing file or link
  if (fd < 0) return CannotWrite(folder / file.Name, errno);
  temporary = name;
  const bool written = ::fchmod(fd, 0644) == 0 && WriteAll(fd, file.Bytes) && ::fsync(fd) == 0;
  const int error = errno;
  if (::close(fd) != 0 || !written) return CannotWrite(folder / file.Name, written ? errno : error);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteFilesTogether(const fs::path& folder, const std::vector<FileContent>& files) {
  // Checked before anything is written: a folder in a file's place would refuse its
  // rename after others went through, and a FIFO or device would be replaced.
  for (const FileContent& file : files) {
    if (const Result<> fits = CheckOutputTarget(folder / file.Name); !fits) return fits.Message();
  }
  std::vector<fs::path> temporaries;
  auto removeTemporaries = [&temporaries] {
    std::error_code ignored;
    for (const fs::path& t : temporaries) fs::remove(t, ignored);
  };
  for (const FileContent& file : files) {
    fs::path temporary;
    const auto error = WriteTemporary(folder, file, temporary);
    if (!temporary.empty()) temporaries.push_back(temporary);
    if (error) {
      removeTemporaries();
      return error;
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
  return std::nullopt;
}

std::optional<std::string> ReadSmallFile(const fs::path& path, uintmax_t maxBytes, std::string& bytes) {
  bytes.clear();
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return "\"" + path.string() + "\" is not a readable file.";
  const uintmax_t size = fs::file_size(path, ec);
  if (ec) return "\"" + path.string() + "\" cannot be read.";
  if (size > maxBytes) return "\"" + path.string() + "\" is too large (" + std::to_string(size) + " bytes).";
  std::ifstream in(path, std::ios::binary);
  if (!in) return "\"" + path.string() + "\" cannot be read.";
  bytes.resize(static_cast<size_t>(size));
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) return "\"" + path.string() + "\" cannot be read.";
  return std::nullopt;
}

}  // namespace orvane
