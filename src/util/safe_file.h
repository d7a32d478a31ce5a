#pragma once
// Every file Orvane writes goes through a temporary file next to it, renamed over the
// real name only once the whole content is on disk. The temporary gets a fresh unique
// name and is created exclusively without following links, so nothing planted under a
// guessable name can be written through; it is removed on any failure.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace orvane {

class SafeFile {
 public:
  // Creates the temporary in the target's folder; Opened() tells whether that worked.
  // An existing target that is not a regular file (a folder, a pipe, a device) is
  // refused (CheckOutputTarget): renaming over it would replace it.
  explicit SafeFile(std::filesystem::path target);
  // Removes the temporary unless Commit succeeded.
  ~SafeFile();
  SafeFile(const SafeFile&) = delete;
  SafeFile& operator=(const SafeFile&) = delete;

  bool Opened() const { return file_ != nullptr; }
  // The open temporary, for writers that want a stdio stream (libpng), or its descriptor
  // (open for reading too, for writers that read back what they wrote).
  std::FILE* Stream() const { return file_; }
  const std::filesystem::path& Target() const { return target_; }
  const std::filesystem::path& TemporaryPath() const { return temporary_; }

  // False (ErrorText() set) when the bytes could not all be written.
  bool Write(std::span<const uint8_t> bytes);
  bool Write(std::string_view text);
  // Flushes, syncs and closes the temporary, then renames it to the target. On failure
  // the temporary is removed and the target is untouched.
  bool Commit();
  // Drops the temporary; the target is untouched.
  void Discard();

  // Why the last step failed ("No space left on device").
  const std::string& ErrorText() const { return error_; }

 private:
  bool Fail(int error);

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::FILE* file_ = nullptr;
  std::string error_;
};

// The whole content in one go. The error text, or empty on success.
std::string WriteFileSafely(const std::filesystem::path& target, std::string_view content);

}  // namespace orvane
