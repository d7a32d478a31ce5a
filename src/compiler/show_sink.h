#pragma once
// Where a compiled show goes: a file, or memory for tests and benchmarks. The writer
// hands over one whole block per call.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "util/safe_file.h"

namespace orvane {

class ShowSink {
 public:
  virtual ~ShowSink() = default;
  // False when the bytes could not be stored; ErrorText() then says why.
  virtual bool Write(std::span<const uint8_t> bytes) = 0;
  // Flushes and releases the target; false when that fails.
  virtual bool Close() { return true; }
  virtual std::string ErrorText() const { return {}; }
};

class ShowMemorySink : public ShowSink {
 public:
  bool Write(std::span<const uint8_t> bytes) override;
  std::vector<uint8_t> Bytes;
};

// Counts what it is given and keeps nothing: the compile without the storage cost.
class ShowCountingSink : public ShowSink {
 public:
  bool Write(std::span<const uint8_t> bytes) override;
  uint64_t ByteCount = 0;
};

// A compile that never ends would otherwise fill the disk for everyone.
inline constexpr uint64_t kMinFreeDiskBytes = uint64_t{512} << 20;
// A show compiled only to be drawn and removed (a video, a contact sheet) needs room for
// itself and this margin, as what it becomes is small: a small disk still takes it.
inline constexpr uint64_t kTemporaryShowMinFreeBytes = uint64_t{64} << 20;

// The free bytes (for an unprivileged user) of the file system holding a folder, or
// nothing when it cannot be asked.
using FreeSpaceProbe = std::function<std::optional<uint64_t>(const std::filesystem::path& folder)>;
std::optional<uint64_t> FreeDiskBytes(const std::filesystem::path& folder);

struct DiskSpaceGuard {
  // No block is appended when the file system would keep less than this free.
  uint64_t MinFreeBytes = kMinFreeDiskBytes;
  FreeSpaceProbe Probe = FreeDiskBytes;
};

// Writes through a temporary file next to the target, renamed over it by a successful
// Close; the target is untouched (and no partial file left) when anything fails.
class ShowFileSink : public ShowSink {
 public:
  // When the temporary cannot be made Opened() is false and ErrorText() says why.
  explicit ShowFileSink(const std::filesystem::path& path, DiskSpaceGuard guard = {});
  ShowFileSink(const ShowFileSink&) = delete;
  ShowFileSink& operator=(const ShowFileSink&) = delete;

  bool Opened() const { return file_.Opened(); }

  bool Write(std::span<const uint8_t> bytes) override;
  bool Close() override;
  std::string ErrorText() const override { return error_.empty() ? file_.ErrorText() : error_; }
  const std::filesystem::path& Path() const { return file_.Target(); }
  // The last Write was refused by the free space guard; ErrorText() is then the user's message.
  bool OutOfSpace() const { return outOfSpace_; }

 private:
  SafeFile file_;
  DiskSpaceGuard guard_;
  std::filesystem::path folder_;
  std::string error_;
  bool outOfSpace_ = false;
};

}  // namespace orvane
