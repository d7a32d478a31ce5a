#pragma once
// A file written beside its target under a private name and put in place only when done,
// so the target never holds half a file: the temporary is removed unless committed.

#include <filesystem>
#include <memory>
#include <string>

namespace orvane {

class PendingOutput {
 public:
  // Creates an empty, exclusive ".NAME.XXXXXX.part" in the target's folder. Nothing, with a
  // message, when the folder cannot take it.
  static std::unique_ptr<PendingOutput> Create(const std::filesystem::path& target, std::string& error);
  ~PendingOutput();
  PendingOutput(const PendingOutput&) = delete;
  PendingOutput& operator=(const PendingOutput&) = delete;

  const std::filesystem::path& Path() const { return temporary_; }
  // Flushes the temporary to the disk and renames it onto the target.
  bool Commit(std::string& error);

 private:
  PendingOutput(std::filesystem::path target, std::filesystem::path temporary)
      : target_(std::move(target)), temporary_(std::move(temporary)) {}
  std::filesystem::path target_, temporary_;
  bool committed_ = false;
};

}  // namespace orvane
