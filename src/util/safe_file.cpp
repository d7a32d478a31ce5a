#include "util/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>

#include "util/output_path.h"

namespace orvane {
namespace {

constexpr int kNameAttempts = 100;
constexpr char kNameLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

std::string RandomSuffix(std::mt19937_64& random) {
  std::string suffix(8, 'x');
  for (char& c : suffix) c = kNameLetters[random() % (sizeof(kNameLetters) - 1)];
  return suffix;
}

std::mt19937_64 NameRandom() {
  std::random_device device;
  const auto clock = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  return std::mt19937_64((static_cast<uint64_t>(device()) << 32) ^ clock ^ static_cast<uint64_t>(getpid()));
}

}  // namespace

SafeFile::SafeFile(std::filesystem::path target) : target_(std::move(target)) {
  if (const Result<> fits = CheckOutputTarget(target_); !fits) {
    error_ = fits.Message();
    return;
  }
  std::filesystem::path folder = target_.parent_path();
  if (folder.empty()) folder = ".";
  std::mt19937_64 random = NameRandom();
  const std::string stem = "." + target_.filename().string() + ".";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::filesystem::path candidate = folder / (stem + RandomSuffix(random));
    const int fd = open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      error_ = std::strerror(errno);
      return;
    }
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
      error_ = std::strerror(errno);
      close(fd);
      unlink(candidate.c_str());
      return;
    }
    temporary_ = candidate;
    return;
  }
  error_ = "no unused temporary file name";
}

SafeFile::~SafeFile() { Discard(); }

bool SafeFile::Fail(int error) {
  error_ = std::strerror(error);
  Discard();
  return false;
}

bool SafeFile::Write(std::span<const uint8_t> bytes) {
  if (file_ == nullptr) return false;
  if (bytes.empty()) return true;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) return Fail(errno);
  return true;
}

bool SafeFile::Write(std::string_view text) {
  return Write(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool SafeFile::Commit() {
  if (file_ == nullptr) return false;
  // A full disk often shows only when the buffered rest is flushed or synced.
  if (std::fflush(file_) != 0) return Fail(errno);
  if (fsync(fileno(file_)) != 0) return Fail(errno);
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0) return Fail(errno);
  if (rename(temporary_.c_str(), target_.c_str()) != 0) return Fail(errno);
  temporary_.clear();
  return true;
}

void SafeFile::Discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

std::string WriteFileSafely(const std::filesystem::path& target, std::string_view content) {
  SafeFile file(target);
  if (!file.Opened() || !file.Write(content) || !file.Commit()) {
    return file.ErrorText().empty() ? "unknown error" : file.ErrorText();
  }
  return {};
}

}  // namespace orvane
