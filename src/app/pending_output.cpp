#include "app/pending_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace orvane {
namespace {

std::string Reason() { return std::strerror(errno); }

}  // namespace

std::unique_ptr<PendingOutput> PendingOutput::Create(const std::filesystem::path& target, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(target, ec)) {
    error = "cannot write " + target.string() + ": it is a folder";
    return nullptr;
  }
  const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
  const std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX.part")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkostemps(name.data(), 5, O_CLOEXEC);  // O_EXCL: never an existing file
  if (fd < 0) {
    error = "cannot write in " + folder.string() + ": " + Reason();
    return nullptr;
  }
  // mkostemps makes the file private; a video is as readable as any file the user makes.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  return std::unique_ptr<PendingOutput>(new PendingOutput(target, name.data()));
}

PendingOutput::~PendingOutput() {
  if (committed_) return;
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
}

bool PendingOutput::Commit(std::string& error) {
  const int fd = open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
  const bool synced = fd >= 0 && fsync(fd) == 0;
  const std::string why = synced ? "" : Reason();
  if (fd >= 0) close(fd);
  if (!synced) {
    error = "cannot write " + target_.string() + ": " + why;
    return false;
  }
  if (rename(temporary_.c_str(), target_.c_str()) != 0) {
    error = "cannot write " + target_.string() + ": " + Reason();
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace orvane
