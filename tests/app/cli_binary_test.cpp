// Runs the orvane-cli program itself: exit statuses, and figures on stdout only.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/test_paths.h"

namespace {

using orvane::testing::ReadFileBytes;
using orvane::testing::ScratchDir;

int Exec(const std::string& arguments, const ScratchDir& dir) {
  const std::string command = std::string(ORVANE_CLI) + " " + arguments + " >" + (dir.Path() / "out").string() + " 2>" +
                              (dir.Path() / "err").string() + " </dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliProgram, CompileThenInfo) {
  ScratchDir dir;
  const std::string show = (dir.Path() / "show.dat").string();
  ASSERT_EQ(Exec("compile --preset 1 --root 101 --seed 7 -o " + show, dir), 0);
  const std::string out = ReadFileBytes(dir.Path() / "out");
  EXPECT_NE(out.find("frames: "), std::string::npos);
  EXPECT_NE(out.find("records: "), std::string::npos);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "err"), "");
  ASSERT_EQ(Exec("info " + show, dir), 0);
  EXPECT_NE(ReadFileBytes(dir.Path() / "out").find("records-per-frame-mean: "), std::string::npos);
}

TEST(CliProgram, ExitStatuses) {
  ScratchDir dir;
  EXPECT_EQ(Exec("--help", dir), 0);
  EXPECT_NE(ReadFileBytes(dir.Path() / "out").find("compile"), std::string::npos);
  EXPECT_EQ(Exec("info " + (dir.Path() / "missing.dat").string(), dir), 1);
  EXPECT_EQ(Exec("compile --preset 1 --root 101 --max-particles 100 -o " + (dir.Path() / "c.dat").string(), dir), 2);
}

}  // namespace
