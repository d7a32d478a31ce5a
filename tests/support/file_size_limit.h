#pragma once
// A disk that fills up, without root or a special file system: while the object lives,
// writes that would make any file of the process larger than `bytes` fail with EFBIG,
// as they fail with ENOSPC on a full disk.

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace orvane::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(uint64_t bytes) {
    previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousSignal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousSignal_)(int) = nullptr;
};

}  // namespace orvane::testing
