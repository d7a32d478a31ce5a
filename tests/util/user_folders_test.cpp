#include "util/user_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/env_variable.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

using Variable = testing::EnvVariable;

mode_t Mode(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info.st_mode & 0777;
}

TEST(UserFolders, TheCacheFolderIsMadeForTheUserAlone) {
  testing::ScratchDir dir;
  {
    const Variable cache("XDG_CACHE_HOME", (dir.Path() / "cache").string());
    const Result<fs::path> folder = UserCacheFolder();
    ASSERT_TRUE(folder) << folder.Message();
    EXPECT_EQ(folder.Value(), dir.Path() / "cache" / "orvane");
    EXPECT_EQ(Mode(folder.Value()), 0700u);
    // Opened to others meanwhile: closed again.
    chmod(folder.Value().c_str(), 0777);
    ASSERT_TRUE(UserCacheFolder());
    EXPECT_EQ(Mode(folder.Value()), 0700u);
  }
  {
    const Variable cache("XDG_CACHE_HOME", "relative/is/ignored");
    const Variable home("HOME", (dir.Path() / "home").string());
    const Result<fs::path> folder = UserCacheFolder();
    ASSERT_TRUE(folder) << folder.Message();
    EXPECT_EQ(folder.Value(), dir.Path() / "home" / ".cache" / "orvane");
  }
  {
    // A link planted where the folder goes is never followed.
    fs::create_directories(dir.Path() / "planted" / "elsewhere");
    fs::create_symlink(dir.Path() / "planted" / "elsewhere", dir.Path() / "planted" / "orvane");
    const Variable cache("XDG_CACHE_HOME", (dir.Path() / "planted").string());
    const Result<fs::path> folder = UserCacheFolder();
    ASSERT_FALSE(folder);
    EXPECT_NE(folder.Message().find("not a folder"), std::string::npos) << folder.Message();
  }
  {
    const Variable cache("XDG_CACHE_HOME", std::nullopt);
    const Variable home("HOME", std::nullopt);
    const Variable runtime("XDG_RUNTIME_DIR", (dir.Path() / "run").string());
    const Result<fs::path> folder = UserCacheFolder();
    ASSERT_TRUE(folder) << folder.Message();
    EXPECT_EQ(folder.Value(), dir.Path() / "run" / "orvane");
  }
  {
    const Variable cache("XDG_CACHE_HOME", std::nullopt);
    const Variable home("HOME", std::nullopt);
    const Variable runtime("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_FALSE(UserCacheFolder());
  }
}

// Another user's folder under the name (only root can make one here).
TEST(UserFolders, AnotherUsersFolderIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "making a folder of another user needs root";
  testing::ScratchDir dir;
  fs::create_directories(dir.Path() / "cache" / "orvane");
  ASSERT_EQ(chown((dir.Path() / "cache" / "orvane").c_str(), 4242, 4242), 0);
  const Variable cache("XDG_CACHE_HOME", (dir.Path() / "cache").string());
  const Result<fs::path> folder = UserCacheFolder();
  ASSERT_FALSE(folder);
  EXPECT_NE(folder.Message().find("belongs to another user"), std::string::npos) << folder.Message();
}

}  // namespace
}  // namespace orvane
