// Stopping the orvane-cli program itself with real signals, sent once it is under way (a
// temporary file has appeared, a progress line was printed): every command ends with the
// shell's status for the signal and leaves no temporary file or folder behind.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "model/device_file_writer.h"
#include "support/child_process.h"
#include "support/form_device.h"
#include "support/test_paths.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Long enough for any loaded machine to still be busy when the signal comes.
constexpr auto kPatience = 120s;

bool HasNameStartingWith(const fs::path& folder, const std::string& prefix) {
  for (const std::string& name : FolderNames(folder))
    if (name.rfind(prefix, 0) == 0) return true;
  return false;
}

class CliSignalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(temp_);
    fs::create_directories(out_);
  }

  // An hour of show: one burst every half second, which would take minutes to compile.
  fs::path LongShow() {
    const fs::path show = dir_.Path() / "show";
    fs::create_directories(show);
    EXPECT_TRUE(SaveDeviceFile(FormDevice(1), show));
    std::string cues = "time,code\n";
    for (int half = 0; half < 7190; ++half) cues += std::to_string(half / 2) + (half % 2 ? ".5" : "") + ",1\n";
    dir_.Write("show/cues.csv", cues);
    return show;
  }

  ChildProcess Start(const std::vector<std::string>& arguments, std::optional<uint64_t> fileSizeLimit = {}) {
    ChildOptions options;
    options.Environment = {"TMPDIR=" + temp_.string()};
    options.Out = dir_.Path() / "stdout";
    options.Err = dir_.Path() / "stderr";
    options.FileSizeLimit = fileSizeLimit;
    return ChildProcess(ORVANE_CLI, arguments, options);
  }

  // Signals the child once `ready` holds for `folder`, and checks how it ended.
  void StopWhen(ChildProcess& child, const fs::path& folder, const std::function<bool()>& ready, int signal) {
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(WaitForFolder(folder, ready, kPatience)) << Err();
    ASSERT_TRUE(child.Send(signal));
    const std::optional<ChildEnd> end = child.Wait(kPatience);
    ASSERT_TRUE(end) << "still running after the signal";
    EXPECT_TRUE(end->Exited) << "killed by signal " << end->Signal;
    EXPECT_EQ(end->Status, 128 + signal) << Err();
  }

  std::string Err() const { return ReadFileBytes(dir_.Path() / "stderr"); }

  // render, preview and video exist only where the program can draw.
  static bool CliDraws() { return ORVANE_CLI_DRAWS; }

  ScratchDir dir_;
  const fs::path temp_ = dir_.Path() / "tmp";  // the child's temporary folder
  const fs::path out_ = dir_.Path() / "out";
};

TEST_F(CliSignalTest, AStoppedCompileLeavesNoTemporaryShowFile) {
  const fs::path show = LongShow();
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    ChildProcess child = Start({"compile", "--show", show.string(), "-o", (out_ / "c.dat").string()});
    StopWhen(
        child, out_, [&] { return HasNameStartingWith(out_, ".c.dat."); }, signal);
    EXPECT_EQ(FolderNames(out_), std::vector<std::string>{}) << signal;
    EXPECT_NE(Err().find("stopped"), std::string::npos) << Err();
  }
}

TEST_F(CliSignalTest, AStoppedRenderLeavesItsWholePicturesOnly) {
  if (!CliDraws()) GTEST_SKIP() << "this orvane-cli does not draw";
  const fs::path show = LongShow();
  const fs::path compiled = dir_.Path() / "short.dat";
  ChildProcess compile = Start({"compile", "--show", show.string(), "--max-seconds", "60", "-o", compiled.string()});
  const std::optional<ChildEnd> compiledEnd = compile.Wait(kPatience);
  ASSERT_TRUE(compiledEnd && compiledEnd->Exited && compiledEnd->Status == 2) << Err();  // cut at 60 s

  ChildProcess child = Start({"render", compiled.string(), "--size", "64x48", "-o", out_.string()});
  StopWhen(
      child, out_, [&] { return fs::exists(out_ / "frame_00001.png"); }, SIGTERM);
  for (const std::string& name : FolderNames(out_)) EXPECT_EQ(name.rfind("frame_", 0), 0u) << name;
  EXPECT_LT(FolderNames(out_).size(), 1500u);
  EXPECT_EQ(FolderNames(temp_), std::vector<std::string>{}) << "the scenery's folder";
}

TEST_F(CliSignalTest, AStoppedPreviewRemovesItsPrivateFolder) {
  if (!CliDraws()) GTEST_SKIP() << "this orvane-cli does not draw";
  const fs::path show = LongShow();
  ChildProcess child = Start({"preview", "--show", show.string(), "-o", (out_ / "sheet.png").string()});
  StopWhen(
      child, temp_, [&] { return HasNameStartingWith(temp_, "orvane-preview"); }, SIGINT);
  EXPECT_EQ(FolderNames(temp_), std::vector<std::string>{});
  EXPECT_EQ(FolderNames(out_), std::vector<std::string>{});
}

// The compile step of a video export stops as promptly as the frames do.
TEST_F(CliSignalTest, AVideoStoppedWhileItsShowCompilesLeavesNothing) {
  if (!CliDraws()) GTEST_SKIP() << "this orvane-cli does not draw";
  const fs::path show = LongShow();
  ChildProcess child = Start({"video", "--show", show.string(), "-o", (out_ / "show.mp4").string()});
  StopWhen(
      child, temp_, [&] { return HasNameStartingWith(temp_, ".orvane-video"); }, SIGTERM);
  EXPECT_EQ(FolderNames(temp_), std::vector<std::string>{});
  EXPECT_EQ(FolderNames(out_), std::vector<std::string>{});
}

// `ulimit -f` would kill the writer with SIGXFSZ; it fails as on a full disk instead.
TEST_F(CliSignalTest, AFileSizeLimitEndsTheCompileWithAMessageAndNoFile) {
  const fs::path show = LongShow();
  ChildProcess child =
      Start({"compile", "--show", show.string(), "--max-seconds", "600", "-o", (out_ / "c.dat").string()}, 1 << 20);
  const std::optional<ChildEnd> end = child.Wait(kPatience);
  ASSERT_TRUE(end);
  EXPECT_TRUE(end->Exited) << "killed by signal " << end->Signal;
  EXPECT_EQ(end->Status, 1);
  EXPECT_NE(Err().find("File too large"), std::string::npos) << Err();
  EXPECT_EQ(FolderNames(out_), std::vector<std::string>{});
}

}  // namespace
}  // namespace orvane::testing
