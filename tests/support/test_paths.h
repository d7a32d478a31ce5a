#pragma once
// Scratch folders for tests: one fresh folder per test under the system temp folder,
// removed when the object goes away.

#include <filesystem>
#include <string>

namespace orvane::testing {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Path() with a trailing '/', as the program's folder variables hold them.
  std::string Folder() const { return path_.string() + "/"; }
  std::filesystem::path Write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace orvane::testing
