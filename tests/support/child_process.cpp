#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

extern char** environ;

namespace orvane::testing {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<int64_t>(left, 0, 60'000));
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& t : texts) pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const ChildOptions& options) {
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> envp;
  for (char** e = environ; *e != nullptr; ++e) envp.emplace_back(*e);
  for (const std::string& added : options.Environment) {
    const std::string name = added.substr(0, added.find('=') + 1);
    std::erase_if(envp, [&name](const std::string& e) { return e.rfind(name, 0) == 0; });
    envp.push_back(added);
  }
  std::vector<char*> argvPointers = Pointers(argv);
  std::vector<char*> envPointers = Pointers(envp);
  const std::string out = options.Out.empty() ? "/dev/null" : options.Out.string();
  const std::string err = options.Err.empty() ? "/dev/null" : options.Err.string();
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  if (options.FileSizeLimit) limit.rlim_cur = static_cast<rlim_t>(*options.FileSizeLimit);

  pid_ = fork();
  if (pid_ == 0) {
    // Only async-signal-safe calls between fork and exec.
    const int in = open("/dev/null", O_RDONLY);
    const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || o < 0 || e < 0) _exit(126);
    dup2(in, 0);
    dup2(o, 1);
    dup2(e, 2);
    setrlimit(RLIMIT_FSIZE, &limit);
    execve(argvPointers[0], argvPointers.data(), envPointers.data());
    _exit(127);
  }
  // glibc 2.36's pidfd header lacks C linkage for C++: the system call itself.
  if (pid_ > 0) pidFd_ = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !end_) {
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  if (pidFd_ >= 0) close(pidFd_);
}

bool ChildProcess::Send(int signal) const { return pid_ > 0 && !end_ && kill(pid_, signal) == 0; }

std::optional<ChildEnd> ChildProcess::Wait(std::chrono::milliseconds most) {
  if (end_ || pid_ <= 0) return end_;
  if (pidFd_ >= 0) {
    // The descriptor becomes readable when the child ends.
    const Clock::time_point deadline = Clock::now() + most;
    pollfd ready{pidFd_, POLLIN, 0};
    while (poll(&ready, 1, MillisecondsLeft(deadline)) == 0) {
      if (Clock::now() >= deadline) return std::nullopt;
    }
  }
  int status = 0;
  if (waitpid(pid_, &status, 0) != pid_) return std::nullopt;
  ChildEnd end;
  end.Exited = WIFEXITED(status);
  end.Status = end.Exited ? WEXITSTATUS(status) : -1;
  end.Signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  end_ = end;
  return end_;
}

bool WaitForFolder(const std::filesystem::path& folder, const std::function<bool()>& condition,
                   std::chrono::milliseconds most) {
  const int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (watch < 0) return condition();
  inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_MODIFY | IN_MOVED_TO | IN_CLOSE_WRITE | IN_DELETE);
  const Clock::time_point deadline = Clock::now() + most;
  bool held = condition();
  while (!held && Clock::now() < deadline) {
    pollfd ready{watch, POLLIN, 0};
    if (poll(&ready, 1, MillisecondsLeft(deadline)) > 0) {
      alignas(inotify_event) char events[4096];
      while (read(watch, events, sizeof events) > 0) {
      }
    }
    held = condition();
  }
  close(watch);
  return held;
}

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace orvane::testing
