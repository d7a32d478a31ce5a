#include "util/output_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

TEST(OutputPath, OnlyRegularFilesAndFreeNamesMayBeWritten) {
  ScratchDir dir;
  const fs::path file = dir.Write("a.dat", "x");
  const fs::path fifo = dir.Path() / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory(dir.Path() / "folder");
  fs::create_symlink(file, dir.Path() / "to-file");
  fs::create_symlink(fifo, dir.Path() / "to-pipe");
  fs::create_symlink(dir.Path() / "gone", dir.Path() / "dangling");
  struct Case {
    fs::path Target;
    const char* Refusal;  // null: fine
  };
  const std::vector<Case> cases = {
      {file, nullptr},
      {dir.Path() / "new.dat", nullptr},
      {dir.Path() / "to-file", nullptr},
      {dir.Path() / "dangling", nullptr},
      {fifo, "it is not a regular file"},
      {"/dev/null", "it is not a regular file"},
      {dir.Path() / "to-pipe", "it is not a regular file"},
      {dir.Path() / "folder", "it is a folder, not a regular file"},
  };
  for (const Case& c : cases) {
    const Result<> checked = CheckOutputTarget(c.Target);
    EXPECT_EQ(checked.Ok(), c.Refusal == nullptr) << c.Target;
    if (!checked.Ok() && c.Refusal != nullptr) {
      EXPECT_EQ(checked.Message(), "cannot write " + c.Target.string() + ": " + c.Refusal);
    }
  }
}

TEST(OutputPath, AnInputIsFoundByNameThroughLinksAndAsAHardLink) {
  ScratchDir dir;
  const fs::path cues = dir.Write("show/cues.csv", "time,code\n");
  const fs::path device = dir.Write("show/1.odev", "[ORVN]\n");
  fs::create_symlink(cues, dir.Path() / "link.csv");
  ASSERT_EQ(link(device.c_str(), (dir.Path() / "hard.odev").c_str()), 0);
  const std::vector<fs::path> inputs = {device, cues};
  EXPECT_EQ(InputAt(cues, inputs), cues);
  EXPECT_EQ(InputAt(dir.Path() / "show" / "." / "cues.csv", inputs), cues);
  EXPECT_EQ(InputAt(dir.Path() / "link.csv", inputs), cues);
  EXPECT_EQ(InputAt(dir.Path() / "hard.odev", inputs), device);
  EXPECT_EQ(InputAt(dir.Path() / "show" / "new.dat", inputs), std::nullopt);
  EXPECT_EQ(InputAt(dir.Write("other.csv", "time,code\n"), inputs), std::nullopt) << "same bytes, another file";
}

}  // namespace
}  // namespace orvane
