#pragma once
// Where a compiled show goes: a file, or memory for tests and benchmarks. The writer
// hands over one whole block per call.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

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

class ShowFileSink : public ShowSink {
 public:
  // Creates or truncates the file; when that fails Opened() is false and ErrorText() says why.
  explicit ShowFileSink(const std::filesystem::path& path);
  ~ShowFileSink() override;
  ShowFileSink(const ShowFileSink&) = delete;
  ShowFileSink& operator=(const ShowFileSink&) = delete;

  bool Opened() const { return file_ != nullptr; }

  bool Write(std::span<const uint8_t> bytes) override;
  bool Close() override;
  std::string ErrorText() const override { return error_; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::FILE* file_ = nullptr;
  std::filesystem::path path_;
  std::string error_;
};

}  // namespace orvane
