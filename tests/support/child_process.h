#pragma once
// A program run as a child of a test, to send it real signals: its stdout and stderr go to
// files, and a test waits for a condition on a folder (woken by inotify, never by a fixed
// sleep) before it signals. The child is killed and reaped if a test leaves it running.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane::testing {

struct ChildEnd {
  bool Exited = false;  // by exit(); otherwise killed by Signal
  int Status = -1;
  int Signal = 0;
};

struct ChildOptions {
  std::vector<std::string> Environment;   // "NAME=value" added to the test's own
  std::filesystem::path Out, Err;         // where stdout and stderr go
  std::optional<uint64_t> FileSizeLimit;  // bytes, as `ulimit -f` sets it
};

class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments, const ChildOptions& options);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  bool Send(int signal) const;
  // The child's end; nothing when it is still running after `most`.
  std::optional<ChildEnd> Wait(std::chrono::milliseconds most);

 private:
  pid_t pid_ = -1;
  int pidFd_ = -1;
  std::optional<ChildEnd> end_;
};

// Waits until `condition` holds, checking it again whenever something in `folder` is
// created, written or renamed; false when it still does not hold after `most`.
bool WaitForFolder(const std::filesystem::path& folder, const std::function<bool()>& condition,
                   std::chrono::milliseconds most);

// The names in `folder`, sorted.
std::vector<std::string> FolderNames(const std::filesystem::path& folder);

}  // namespace orvane::testing
