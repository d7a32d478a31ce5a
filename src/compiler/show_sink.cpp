#include "compiler/show_sink.h"

#include <sys/statvfs.h>

#include "compiler/compile_messages.h"

namespace orvane {

bool ShowMemorySink::Write(std::span<const uint8_t> bytes) {
  Bytes.insert(Bytes.end(), bytes.begin(), bytes.end());
  return true;
}

bool ShowCountingSink::Write(std::span<const uint8_t> bytes) {
  ByteCount += bytes.size();
  return true;
}

std::optional<uint64_t> FreeDiskBytes(const std::filesystem::path& folder) {
  struct statvfs info {};
  if (statvfs(folder.c_str(), &info) != 0) return std::nullopt;
  return static_cast<uint64_t>(info.f_bavail) * static_cast<uint64_t>(info.f_frsize);
}

ShowFileSink::ShowFileSink(const std::filesystem::path& path, DiskSpaceGuard guard)
    : file_(path), guard_(std::move(guard)), folder_(path.parent_path().empty() ? "." : path.parent_path()) {}

bool ShowFileSink::Write(std::span<const uint8_t> bytes) {
  if (!file_.Opened()) return false;
  if (bytes.empty()) return true;
  if (guard_.Probe) {
    const std::optional<uint64_t> free = guard_.Probe(folder_);
    if (free && (*free < bytes.size() || *free - bytes.size() < guard_.MinFreeBytes)) {
      outOfSpace_ = true;
      error_ = NotEnoughDiskSpaceMessage(*free);
      file_.Discard();
      return false;
    }
  }
  return file_.Write(bytes);
}

bool ShowFileSink::Close() { return file_.Commit(); }

}  // namespace orvane
