#include "util/data_folders.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;

class DataFolders : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv(kDataRootVariable); }
  void TearDown() override { unsetenv(kDataRootVariable); }
};

TEST_F(DataFolders, InstalledLayoutWinsOverTheSourceTree) {
  const fs::path prefix = fs::temp_directory_path() / ("orvane-data-folders-" + std::to_string(getpid()));
  fs::remove_all(prefix);
  fs::create_directories(prefix / "bin");
  fs::create_directories(prefix / "share" / "orvane" / "library");
  const auto root = DataRootFor(prefix / "bin" / "orvane-cli");
  ASSERT_TRUE(root.has_value());
  EXPECT_EQ(fs::weakly_canonical(*root), fs::weakly_canonical(prefix / "share" / "orvane"));
  fs::remove_all(prefix);
}

TEST_F(DataFolders, BuildTreeProgramFindsTheSourceTree) {
  const auto root = DataRootFor("/nonexistent/bin/orvane-cli");
  ASSERT_TRUE(root.has_value());
  EXPECT_TRUE(fs::is_directory(*root / "examples" / "shows"));
  EXPECT_TRUE(DataFolder(kExamplesFolderName).has_value());
  EXPECT_FALSE(DataFolder("no-such-data-folder").has_value());
}

TEST_F(DataFolders, VariableOverridesAndAMissingOneIsNotReplaced) {
  setenv(kDataRootVariable, fs::temp_directory_path().c_str(), 1);
  EXPECT_EQ(DataRootFor("/nonexistent/bin/orvane-cli"), fs::temp_directory_path());
  setenv(kDataRootVariable, "/nonexistent/orvane-data", 1);
  EXPECT_FALSE(DataRootFor("/nonexistent/bin/orvane-cli").has_value());
}

}  // namespace
}  // namespace orvane
