#pragma once
// A folder of this process's own under the system's temporary folder (mode 0700, fresh
// unique name), removed with everything in it when the object goes away. Two instances
// never share a show file or an extracted texture, and nothing planted in the shared
// temporary folder is picked up.

#include <filesystem>
#include <string>

namespace orvane {

class PrivateTempFolder {
 public:
  // prefix names the folder ("orvane" gives "<tmp>/orvane-XXXXXX").
  explicit PrivateTempFolder(const std::string& prefix = "orvane");
  ~PrivateTempFolder();
  PrivateTempFolder(const PrivateTempFolder&) = delete;
  PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

  // False when the folder could not be made; ErrorText() says why.
  bool Made() const { return !path_.empty(); }
  const std::filesystem::path& Path() const { return path_; }
  // Path() with a trailing '/', as the program's folder variables hold them.
  std::string Folder() const { return path_.string() + "/"; }
  const std::string& ErrorText() const { return error_; }

 private:
  std::filesystem::path path_;
  std::string error_;
};

}  // namespace orvane
