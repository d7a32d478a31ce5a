#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/cli_command.h"
#include "compiler/compile_messages.h"
#include "model/device_file_writer.h"
#include "support/cli_run.h"
#include "support/env_variable.h"
#include "support/form_device.h"
#include "support/test_paths.h"
#include "util/random.h"

namespace orvane::cli {
namespace {

using orvane::testing::Cli;
using orvane::testing::CliRun;
using orvane::testing::Figure;
using orvane::testing::ReadFileBytes;
using orvane::testing::ScratchDir;

// A small device: 20 explosive stars of 1 s.
TBaseDevice Device(int32_t code) {
  TBaseDevice d = orvane::testing::FormDevice(code);
  d.Definition.Name = std::to_string(code);
  d.StarQuantity = 20;
  d.EffectLength = 1000;
  return d;
}

class CliTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return (dir.Path() / name).string(); }
  ScratchDir dir;
};

TEST_F(CliTest, HelpListsEveryCommandWithAnExample) {
  const CliRun r = Cli({"--help"});
  EXPECT_EQ(r.Status, kExitDone);
  for (const CliCommand& c : CliCommands()) {
    EXPECT_NE(r.Out.find(std::string("  ") + c.Name + (*c.Usage != '\0' ? " " : "\n")), std::string::npos) << c.Name;
    EXPECT_NE(r.Out.find(std::string("example: ") + c.Example), std::string::npos) << c.Name;
    EXPECT_EQ(std::string(c.Example).rfind(std::string("orvane-cli ") + c.Name, 0), 0u);
  }
  EXPECT_EQ(Cli({"compile", "--help"}).Status, kExitDone);
  EXPECT_EQ(Cli({}).Status, kExitBadInput);
  const CliRun unknown = Cli({"explode"});
  EXPECT_EQ(unknown.Status, kExitBadInput);
  EXPECT_NE(unknown.Err.find("unknown command"), std::string::npos);
  EXPECT_EQ(Cli({"info", "--bogus"}).Status, kExitBadInput);
  EXPECT_EQ(Cli({"compile", "--root"}).Status, kExitBadInput);
}

TEST_F(CliTest, SeededCompilesAreByteIdenticalAndInfoAgrees) {
  const CliRun a = Cli({"compile", "--preset", "1", "--root", "101", "--seed", "7", "-o", File("a.dat")});
  const CliRun b = Cli({"compile", "--preset", "1", "--root=101", "--seed", "7", "-o", File("b.dat")});
  ASSERT_EQ(a.Status, kExitDone) << a.Err;
  ASSERT_EQ(b.Status, kExitDone) << b.Err;
  EXPECT_EQ(a.Err, "");  // no progress when stderr is not a terminal
  EXPECT_EQ(ReadFileBytes(File("a.dat")), ReadFileBytes(File("b.dat")));
  EXPECT_EQ(Figure(a.Out, "file"), File("a.dat"));

  const CliRun info = Cli({"info", File("a.dat")});
  ASSERT_EQ(info.Status, kExitDone) << info.Err;
  EXPECT_EQ(Figure(info.Out, "frames"), Figure(a.Out, "frames"));
  EXPECT_EQ(Figure(info.Out, "blocks"), Figure(a.Out, "blocks"));
  EXPECT_EQ(Figure(info.Out, "records"), Figure(a.Out, "records"));
  EXPECT_EQ(Figure(info.Out, "seconds"), Figure(a.Out, "seconds"));
  EXPECT_EQ(Figure(info.Out, "records-per-frame-min"), "0");  // the first frame is empty
  EXPECT_NE(Figure(info.Out, "box-min"), "<missing box-min>");

  const CliRun other = Cli({"compile", "--preset", "1", "--root", "101", "--seed", "8", "-o", File("c.dat")});
  EXPECT_NE(ReadFileBytes(File("a.dat")), ReadFileBytes(File("c.dat")));
}

// Without -o the show goes into a folder of the user's own, never a fixed name in the shared
// temporary folder that another user's file could block.
TEST_F(CliTest, TheDefaultOutputIsInTheUsersOwnCacheFolder) {
  {
    const testing::EnvVariable cache("XDG_CACHE_HOME", File("cache"));
    const CliRun r = Cli({"compile", "--preset", "1", "--root", "101", "--seed", "7"});
    ASSERT_EQ(r.Status, kExitDone) << r.Err;
    const std::filesystem::path expected = dir.Path() / "cache" / "orvane" / "ovcompile.dat";
    EXPECT_EQ(Figure(r.Out, "file"), expected.string());
    EXPECT_TRUE(std::filesystem::is_regular_file(expected));
    EXPECT_EQ(std::filesystem::status(expected.parent_path()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
  }
  {
    // A link planted where the folder goes is refused, and nothing is written through it.
    std::filesystem::create_directories(dir.Path() / "planted" / "elsewhere");
    std::filesystem::create_symlink(dir.Path() / "planted" / "elsewhere", dir.Path() / "planted" / "orvane");
    const testing::EnvVariable cache("XDG_CACHE_HOME", File("planted"));
    const CliRun r = Cli({"compile", "--preset", "1", "--root", "101"});
    EXPECT_EQ(r.Status, kExitBadInput);
    EXPECT_NE(r.Err.find("not a folder"), std::string::npos) << r.Err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "planted" / "elsewhere"));
  }
}

TEST_F(CliTest, ProgressOnlyOnATerminal) {
  const CliRun r = Cli({"compile", "--preset", "3", "--root", "301", "-o", File("p.dat")}, true);
  EXPECT_EQ(r.Status, kExitDone);
  EXPECT_NE(r.Err.find("compiling ["), std::string::npos);
  EXPECT_EQ(r.Out.find("compiling"), std::string::npos);
}

TEST_F(CliTest, DamagedFilesGiveTheOffset) {
  ASSERT_EQ(Cli({"compile", "--preset", "2", "--root", "201", "-o", File("s.dat")}).Status, kExitDone);
  std::string bytes = ReadFileBytes(File("s.dat"));
  bytes.resize(bytes.size() - 3);
  dir.Write("cut.dat", bytes);
  const CliRun r = Cli({"info", File("cut.dat")});
  EXPECT_EQ(r.Status, kExitBadInput);
  EXPECT_NE(r.Err.find("damaged show file at byte "), std::string::npos) << r.Err;
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(Cli({"info", File("absent.dat")}).Status, kExitBadInput);
  EXPECT_EQ(Cli({"info"}).Status, kExitBadInput);
}

TEST_F(CliTest, ChainingCycleIsRefused) {
  TBaseDevice one = Device(1), two = Device(2);
  one.NextEffExists = true;
  one.NextEffCode = 2;
  two.NextParExists = true;
  two.NextParCode = 1;
  const auto folder = dir.Path() / "cycle";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(SaveDeviceFile(one, folder));
  ASSERT_TRUE(SaveDeviceFile(two, folder));
  const CliRun r = Cli({"compile", "--devices", folder.string(), "--root", "1", "-o", File("x.dat")});
  EXPECT_EQ(r.Status, kExitRefused);
  EXPECT_NE(r.Err.find(std::string(kRecursivityRefusal) + "\n"), std::string::npos) << r.Err;
  EXPECT_FALSE(std::filesystem::exists(File("x.dat")));
}

TEST_F(CliTest, SizeBoundCutsWithStatusTwo) {
  const CliRun r = Cli({"compile", "--preset", "1", "--root", "101", "--max-particles", "500", "-o", File("cut.dat")});
  EXPECT_EQ(r.Status, kExitRefused);
  EXPECT_NE(
      r.Err.find("The show is too large to compile completely; it was cut at frame " + Figure(r.Out, "frames") + "."),
      std::string::npos)
      << r.Err;
  EXPECT_EQ(Cli({"info", File("cut.dat")}).Status, kExitDone);
}

TEST_F(CliTest, BadInputsExitWithOne) {
  EXPECT_EQ(Cli({"compile", "--preset", "7", "--root", "101"}).Status, kExitBadInput);
  EXPECT_EQ(Cli({"compile", "--preset", "1", "--root", "999", "-o", File("n.dat")}).Status, kExitBadInput);
  EXPECT_EQ(Cli({"compile", "--preset", "1", "--root", "abc"}).Status, kExitBadInput);
  EXPECT_EQ(Cli({"compile", "--preset", "1"}).Status, kExitBadInput);
  EXPECT_EQ(Cli({"compile", "--preset", "1", "--devices", "x", "--root", "101"}).Status, kExitBadInput);
  EXPECT_EQ(Cli({"compile", "--preset", "1", "--root", "101", "--seed", "-3"}).Status, kExitBadInput);
  const CliRun scale = Cli({"compile", "--preset", "1", "--root", "101", "--scale", "1.000,5", "-o", File("s.dat")});
  EXPECT_EQ(scale.Status, kExitBadInput);
  EXPECT_FALSE(scale.Err.empty());
  const CliRun missing = Cli({"compile", "--devices", File("nowhere"), "--root", "1"});
  EXPECT_EQ(missing.Status, kExitBadInput);
  const CliRun unwritable = Cli({"compile", "--preset", "1", "--root", "101", "-o", File("no/such/dir/s.dat")});
  EXPECT_EQ(unwritable.Status, kExitBadInput);
  EXPECT_NE(unwritable.Err.find("could not be written"), std::string::npos) << unwritable.Err;
}

TEST_F(CliTest, ScaleReadsBothSeparators) {
  const CliRun comma =
      Cli({"compile", "--preset", "6", "--root", "601", "--seed", "2", "--scale", "0,5", "-o", File("a.dat")});
  const CliRun point =
      Cli({"compile", "--preset", "6", "--root", "601", "--seed", "2", "--scale", "0.5", "-o", File("b.dat")});
  const CliRun one = Cli({"compile", "--preset", "6", "--root", "601", "--seed", "2", "-o", File("c.dat")});
  ASSERT_EQ(comma.Status, kExitDone) << comma.Err;
  ASSERT_EQ(point.Status, kExitDone);
  EXPECT_EQ(ReadFileBytes(File("a.dat")), ReadFileBytes(File("b.dat")));
  EXPECT_NE(ReadFileBytes(File("a.dat")), ReadFileBytes(File("c.dat")));
}

TEST_F(CliTest, SavedPresetCompilesLikeThePreset) {
  const CliRun save = Cli({"save", "--preset", "2", "-o", File("devices")});
  ASSERT_EQ(save.Status, kExitDone) << save.Err;
  EXPECT_EQ(Figure(save.Out, "written"), "4");
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "devices" / "201.odev"));
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "devices" / "204.osub"));
  // Folder order (.odev, then .osub by name) is the preset's order: the same preparations.
  ASSERT_EQ(Cli({"compile", "--preset", "2", "--root", "201", "--seed", "5", "-o", File("a.dat")}).Status, kExitDone);
  ASSERT_EQ(Cli({"compile", "--devices", File("devices"), "--root", "201", "--seed", "5", "-o", File("b.dat")}).Status,
            kExitDone);
  EXPECT_EQ(ReadFileBytes(File("a.dat")), ReadFileBytes(File("b.dat")));
  EXPECT_EQ(Cli({"save", "--preset", "2"}).Status, kExitBadInput);
}

TEST_F(CliTest, VerboseNamesSkippedFiles) {
  const auto folder = dir.Path() / "mixed";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(SaveDeviceFile(Device(5), folder));
  dir.Write("mixed/9.odev", std::string("\0\1\2 not a device", 17));
  const CliRun quiet = Cli({"compile", "--devices", folder.string(), "--root", "5", "-o", File("q.dat")});
  ASSERT_EQ(quiet.Status, kExitDone) << quiet.Err;
  EXPECT_EQ(quiet.Err, "");
  const CliRun loud = Cli({"compile", "--devices", folder.string(), "--root", "5", "-v", "-o", File("q.dat")});
  ASSERT_EQ(loud.Status, kExitDone);
  EXPECT_NE(loud.Err.find("9.odev"), std::string::npos) << loud.Err;
}

TEST_F(CliTest, SaveReplacesFilesOnlyWithForce) {
  ASSERT_EQ(Cli({"save", "--preset", "2", "-o", File("devices")}).Status, kExitDone);
  dir.Write("devices/201.odev", "mine");
  const CliRun again = Cli({"save", "--preset", "2", "-o", File("devices")});
  EXPECT_EQ(again.Status, kExitBadInput);
  EXPECT_NE(again.Err.find("201.odev"), std::string::npos) << again.Err;
  EXPECT_NE(again.Err.find("204.osub"), std::string::npos) << again.Err;
  EXPECT_EQ(ReadFileBytes(File("devices/201.odev")), "mine");
  const CliRun forced = Cli({"save", "--preset", "2", "-o", File("devices"), "--force"});
  ASSERT_EQ(forced.Status, kExitDone) << forced.Err;
  EXPECT_NE(ReadFileBytes(File("devices/201.odev")), "mine");
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path() / "devices")) ++entries;
  EXPECT_EQ(entries, 4u);
}

// A device folder saved over itself rewrites nothing it read unchanged, and a copy keeps
// every key the reader skipped (a sub-device's [Definition] among them).
TEST_F(CliTest, SaveWritesOnlyChangedDevicesAndKeepsWhatTheReaderSkipped) {
  const std::filesystem::path show = dir.Path() / "show";
  std::filesystem::copy(ORVANE_EXAMPLE_SHOW, show, std::filesystem::copy_options::recursive);
  const std::string sub = ReadFileBytes(show / "302.osub");
  ASSERT_NE(sub.find("EffectLength=800"), std::string::npos);
  std::filesystem::last_write_time(show / "302.osub", std::filesystem::file_time_type{});
  const CliRun same = Cli({"save", "--devices", show.string(), "-o", show.string(), "--force"});
  ASSERT_EQ(same.Status, kExitDone) << same.Err;
  EXPECT_EQ(Figure(same.Out, "written"), "0");
  EXPECT_EQ(std::filesystem::last_write_time(show / "302.osub"), std::filesystem::file_time_type{}) << "not rewritten";

  const CliRun copy = Cli({"save", "--devices", show.string(), "-o", File("copy")});
  ASSERT_EQ(copy.Status, kExitDone) << copy.Err;
  EXPECT_NE(Figure(copy.Out, "written"), "0");
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path() / "copy"))
    EXPECT_EQ(ReadFileBytes(entry.path()), ReadFileBytes(show / entry.path().filename())) << entry.path();
}

TEST_F(CliTest, SaveNeverWritesThroughAPlantedLink) {
  std::filesystem::create_directories(dir.Path() / "devices");
  const auto victim = dir.Write("victim.txt", "precious");
  std::filesystem::create_symlink(victim, dir.Path() / "devices" / "201.odev.tmp");
  ASSERT_EQ(Cli({"save", "--preset", "2", "-o", File("devices")}).Status, kExitDone);
  EXPECT_EQ(ReadFileBytes(victim), "precious");
}

TEST_F(CliTest, MaxSecondsCutsTheShowAtTheLengthBound) {
  const auto folder = dir.Path() / "endless";
  std::filesystem::create_directories(folder);
  TBaseDevice faint = Device(7);
  faint.TrailExists = true;
  faint.TrailLife = -100;
  ASSERT_TRUE(SaveDeviceFile(faint, folder));
  const CliRun r =
      Cli({"compile", "--devices", folder.string(), "--root", "7", "--max-seconds", "2", "-o", File("s.dat")});
  EXPECT_EQ(r.Status, kExitRefused) << r.Err;
  EXPECT_EQ(Figure(r.Out, "frames"), "50");
  EXPECT_NE(r.Err.find("cut at frame 50."), std::string::npos) << r.Err;
  const CliRun info = Cli({"info", File("s.dat")});
  EXPECT_EQ(info.Status, kExitDone) << info.Err;
  EXPECT_EQ(Figure(info.Out, "frames"), "50");
  EXPECT_EQ(Cli({"compile", "--preset", "1", "--root", "101", "--max-seconds", "0"}).Status, kExitBadInput);
  EXPECT_EQ(Cli({"compile", "--preset", "1", "--root", "101", "--max-particles", "20000001"}).Status, kExitBadInput);
}

TEST_F(CliTest, AFolderLoadCutShortByADecimalIsAnError) {
  const auto folder = dir.Path() / "devices";
  std::filesystem::create_directories(folder);
  ASSERT_TRUE(SaveDeviceFile(Device(1), folder));
  dir.Write("devices/2.odev", "[ORVN]\nSignature=Device\n[Device]\nCode=2\n[Simulation]\nBestY=1.000,5\n");
  ASSERT_TRUE(SaveDeviceFile(Device(3), folder));
  const CliRun compile = Cli({"compile", "--devices", folder.string(), "--root", "1", "-o", File("a.dat")});
  EXPECT_EQ(compile.Status, kExitBadInput);
  EXPECT_NE(compile.Err.find("is not a valid floating point value"), std::string::npos) << compile.Err;
  EXPECT_FALSE(std::filesystem::exists(File("a.dat")));
  EXPECT_EQ(Cli({"save", "--devices", folder.string(), "-o", File("out")}).Status, kExitBadInput);
}

TEST_F(CliTest, InfoSaysWhenAFileCannotBeOpened) {
  const CliRun missing = Cli({"info", File("absent.dat")});
  EXPECT_EQ(missing.Status, kExitBadInput);
  EXPECT_NE(missing.Err.find("cannot open " + File("absent.dat")), std::string::npos) << missing.Err;
  EXPECT_EQ(missing.Err.find("damaged"), std::string::npos) << missing.Err;
  const CliRun folder = Cli({"info", dir.Path().string()});
  EXPECT_EQ(folder.Status, kExitBadInput);
  EXPECT_NE(folder.Err.find("is not a regular file"), std::string::npos) << folder.Err;
}

// A command line has no box to correct a value in: what a box would read as 0 or as
// infinity is refused.
TEST_F(CliTest, NumbersThatAreNoValuesAreRefused) {
  for (const char* scale : {"1e308", "-1e39", "", "  ", "abc"}) {
    const CliRun r = Cli({"compile", "--preset", "1", "--root", "101", "--scale", scale, "-o", File("a.dat")});
    EXPECT_EQ(r.Status, kExitBadInput) << "--scale \"" << scale << "\"";
    EXPECT_FALSE(std::filesystem::exists(File("a.dat")));
  }
  EXPECT_EQ(Cli({"compile", "--preset", "1", "--root", "101", "--scale", "0,5", "-o", File("a.dat")}).Status,
            kExitDone);
  for (const CliCommand& c : CliCommands()) {
    if (std::string(c.Name) != "video") continue;
    for (const char* offset : {"", " ", "1e400"}) {
      const CliRun r =
          Cli({"video", File("a.dat"), "--music", File("a.dat"), "--music-offset", offset, "-o", File("v.mp4")});
      EXPECT_EQ(r.Status, kExitBadInput);
      EXPECT_NE(r.Err.find("--music-offset takes seconds"), std::string::npos) << r.Err;
    }
  }
}

// A root whose file was read but could not be prepared is not reported as absent.
TEST_F(CliTest, ARootThatCouldNotBePreparedSaysWhy) {
  const std::filesystem::path folder = dir.Path() / "devices";
  std::filesystem::create_directories(folder);
  TBaseDevice nonsense = Device(101);
  nonsense.MaxStarLife = -40;
  nonsense.MinStarLife = 300;
  ASSERT_TRUE(SaveDeviceFile(nonsense, folder));
  const CliRun r = Cli({"compile", "--devices", folder.string(), "--root", "101", "-o", File("a.dat")});
  EXPECT_EQ(r.Status, kExitBadInput);
  EXPECT_NE(r.Err.find("No device with code 101 is in the device list. " + (folder / "101.odev").string() +
                       " was skipped: the device could not be prepared."),
            std::string::npos)
      << r.Err;
}

}  // namespace
}  // namespace orvane::cli
