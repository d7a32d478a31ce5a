#include "util/private_temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

namespace orvane {
namespace {

TEST(PrivateTempFolderTest, EachOneIsOwnPrivateAndGoneAfterwards) {
  std::filesystem::path kept;
  {
    PrivateTempFolder a;
    PrivateTempFolder b;
    ASSERT_TRUE(a.Made()) << a.ErrorText();
    ASSERT_TRUE(b.Made());
    EXPECT_NE(a.Path(), b.Path());
    EXPECT_EQ(a.Path().parent_path(), std::filesystem::temp_directory_path());
    EXPECT_EQ(a.Folder().back(), '/');
    struct stat info {};
    ASSERT_EQ(stat(a.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    std::filesystem::create_directory(a.Path() / "inner");
    std::ofstream(a.Path() / "inner" / "ovcompile.dat") << "show";
    kept = a.Path();
  }
  EXPECT_FALSE(std::filesystem::exists(kept));
}

}  // namespace
}  // namespace orvane
