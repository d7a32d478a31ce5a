#include "compiler/show_sink.h"

#include <cerrno>
#include <cstring>

namespace orvane {

bool ShowMemorySink::Write(std::span<const uint8_t> bytes) {
  Bytes.insert(Bytes.end(), bytes.begin(), bytes.end());
  return true;
}

bool ShowCountingSink::Write(std::span<const uint8_t> bytes) {
  ByteCount += bytes.size();
  return true;
}

ShowFileSink::ShowFileSink(const std::filesystem::path& path) : path_(path) {
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) error_ = std::strerror(errno);
}

ShowFileSink::~ShowFileSink() {
  if (file_ != nullptr) std::fclose(file_);
}

bool ShowFileSink::Write(std::span<const uint8_t> bytes) {
  if (file_ == nullptr) return false;
  if (bytes.empty()) return true;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    error_ = std::strerror(errno);
    return false;
  }
  return true;
}

bool ShowFileSink::Close() {
  if (file_ == nullptr) return false;
  // A full disk often shows only when the buffered rest is flushed.
  const bool flushed = std::fflush(file_) == 0;
  const int flushErrno = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) {
    error_ = std::strerror(flushed ? errno : flushErrno);
    return false;
  }
  return true;
}

}  // namespace orvane
