#include "util/safe_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/file_size_limit.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::ScratchDir;

size_t EntriesIn(const fs::path& folder) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
  return n;
}

TEST(SafeFileTest, WritesAndReplacesLeavingNoTemporary) {
  ScratchDir dir;
  const fs::path target = dir.Path() / "a.odev";
  EXPECT_EQ(WriteFileSafely(target, "first"), "");
  EXPECT_EQ(WriteFileSafely(target, "second"), "");
  EXPECT_EQ(ReadFileBytes(target), "second");
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(SafeFileTest, PlantedLinksAreNeverWrittenThrough) {
  ScratchDir dir;
  const fs::path victim = dir.Write("victim.txt", "precious");
  // Links under every name an older writer would have used for its temporary.
  fs::create_symlink(victim, dir.Path() / "12.odev.tmp");
  fs::create_symlink(victim, dir.Path() / ".12.odev.tmp");
  SafeFile file(dir.Path() / "12.odev");
  ASSERT_TRUE(file.Opened()) << file.ErrorText();
  struct stat info {};
  ASSERT_EQ(lstat(file.TemporaryPath().c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(file.TemporaryPath().parent_path(), dir.Path());
  ASSERT_TRUE(file.Write(std::string_view("device")));
  ASSERT_TRUE(file.Commit()) << file.ErrorText();
  EXPECT_EQ(ReadFileBytes(victim), "precious");
  EXPECT_EQ(ReadFileBytes(dir.Path() / "12.odev"), "device");
}

TEST(SafeFileTest, TwoWritersOfOneTargetGetDistinctTemporaries) {
  ScratchDir dir;
  SafeFile a(dir.Path() / "x.png");
  SafeFile b(dir.Path() / "x.png");
  ASSERT_TRUE(a.Opened());
  ASSERT_TRUE(b.Opened());
  EXPECT_NE(a.TemporaryPath(), b.TemporaryPath());
}

TEST(SafeFileTest, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
  ScratchDir dir;
  const fs::path target = dir.Write("show.png", "old picture");
  std::string error;
  {
    testing::FileSizeLimit limit(1000);
    error = WriteFileSafely(target, std::string(100'000, 'x'));
  }
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFileBytes(target), "old picture");
  EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(SafeFileTest, RefusesToReplaceWhatIsNotARegularFile) {
  ScratchDir dir;
  fs::create_directory(dir.Path() / "folder.odev");
  SafeFile file(dir.Path() / "folder.odev");
  EXPECT_FALSE(file.Opened());
  EXPECT_NE(file.ErrorText().find("not a regular file"), std::string::npos);
  EXPECT_FALSE(SafeFile("/dev/null").Opened());
  EXPECT_FALSE(WriteFileSafely(dir.Path() / "missing" / "a.odev", "x").empty());
  // A link to a device would be renamed away, and whatever opened the link writes elsewhere.
  fs::create_symlink("/dev/null", dir.Path() / "null.csv");
  EXPECT_FALSE(SafeFile(dir.Path() / "null.csv").Opened());
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "null.csv"));
}

TEST(SafeFileTest, DiscardedWriteLeavesTheTargetAlone) {
  ScratchDir dir;
  {
    SafeFile file(dir.Path() / "a.dat");
    ASSERT_TRUE(file.Write(std::string_view("half")));
  }
  EXPECT_EQ(EntriesIn(dir.Path()), 0u);
}

}  // namespace
}  // namespace orvane
