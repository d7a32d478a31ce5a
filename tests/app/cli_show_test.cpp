#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "app/cli_command.h"
#include "compiler/compile_messages.h"
#include "model/device_file_writer.h"
#include "project/show_seed.h"
#include "support/cli_run.h"
#include "support/form_device.h"
#include "support/test_paths.h"
#include "util/random.h"

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;
using orvane::testing::Cli;
using orvane::testing::CliRun;
using orvane::testing::Figure;
using orvane::testing::ReadFileBytes;
using orvane::testing::ScratchDir;

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class CliShowTest : public ::testing::Test {
 protected:
  // Preset 2's devices in a show folder with the given cues.
  fs::path ShowFolder(const std::string& cues, const std::string& name = "show") {
    const fs::path folder = dir.Path() / name;
    EXPECT_EQ(Cli({"save", "--preset", "2", "-o", folder.string()}).Status, kExitDone);
    dir.Write(name + "/cues.csv", cues);
    return folder;
  }
  std::string File(const std::string& name) const { return (dir.Path() / name).string(); }
  ScratchDir dir;
};

TEST_F(CliShowTest, OneCueShowMatchesTheDeviceAndRepeatsWithItsSeed) {
  const fs::path show = ShowFolder("time,code\n0,201\n");
  const CliRun a = Cli({"compile", "--show", show.string(), "--seed", "5", "-o", File("a.dat")});
  ASSERT_EQ(a.Status, kExitDone) << a.Err;
  EXPECT_EQ(Figure(a.Out, "cues"), "1");
  ASSERT_EQ(Cli({"compile", "--devices", show.string(), "--root", "201", "--seed", "5", "-o", File("b.dat")}).Status,
            kExitDone);
  EXPECT_EQ(ReadFileBytes(File("a.dat")), ReadFileBytes(File("b.dat")));
  const CliRun c = Cli({"compile", "--devices", show.string(), "--cues", (show / "cues.csv").string(), "--seed", "5",
                        "-o", File("c.dat")});
  ASSERT_EQ(c.Status, kExitDone) << c.Err;
  EXPECT_EQ(ReadFileBytes(File("a.dat")), ReadFileBytes(File("c.dat")));

  // The extent's last frame is the show's last.
  const std::string cue = Figure(a.Out, "cue");
  EXPECT_EQ(cue.rfind("line 2, code 201, fire 0.000 s, duration ", 0), 0u) << cue;
  EXPECT_NE(cue.find(", label \"\""), std::string::npos) << cue;
}

TEST_F(CliShowTest, ExtentsFileHasALinePerCueAndScaleComesFromTheShow) {
  const fs::path show = ShowFolder("time,code,x,label\n0,203,-3,\"left, low\"\n1.5,201,3,right\n0:01.5,204,,\n");
  dir.Write("show/show.json", R"({"format":"orvane-show","version":1,"scale":2,"music":{"file":"none.ogg"}})");
  const CliRun r =
      Cli({"compile", "--show", show.string(), "--seed", "1", "-o", File("s.dat"), "--extents", File("extents.csv")});
  ASSERT_EQ(r.Status, kExitDone) << r.Err;
  EXPECT_NE(r.Err.find("none.ogg\" is missing"), std::string::npos) << r.Err;
  EXPECT_EQ(Count(r.Out, "\ncue: "), 3u);
  const std::string csv = ReadFileBytes(File("extents.csv"));
  EXPECT_EQ(csv.rfind("cue line,label,code,fire time,duration,height (m),radius (m),lowest (m),break time,break "
                      "height (m)\n2,\"left, low\",203,0.000,",
                      0),
            0u)
      << csv;
  EXPECT_NE(csv.find("\n3,right,201,1.500,"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\n4,,204,1.500,"), std::string::npos) << csv;
  EXPECT_EQ(Count(csv, "\n"), 4u);

  const CliRun scaled = Cli({"compile", "--show", show.string(), "--seed", "1", "--scale", "2", "-o", File("t.dat")});
  ASSERT_EQ(scaled.Status, kExitDone);
  EXPECT_EQ(ReadFileBytes(File("s.dat")), ReadFileBytes(File("t.dat")));
  ASSERT_EQ(Cli({"compile", "--show", show.string(), "--seed", "1", "--scale", "1", "-o", File("u.dat")}).Status,
            kExitDone);
  EXPECT_NE(ReadFileBytes(File("s.dat")), ReadFileBytes(File("u.dat")));
}

TEST_F(CliShowTest, AShowCompilesAtItsOwnSeedUnlessSeedIsGiven) {
  const fs::path show = ShowFolder("time,code\n0,204\n0.5,203\n");
  const std::string cues = ReadFileBytes(show / "cues.csv");
  const CliRun a = Cli({"compile", "--show", show.string(), "-o", File("a.dat")});
  ASSERT_EQ(a.Status, kExitDone) << a.Err;
  // Without a seed in show.json, the cue list's bytes make it: every run the same show.
  EXPECT_EQ(Figure(a.Out, "seed"), std::to_string(SeedFromCueText(cues)));
  ASSERT_EQ(Cli({"compile", "--show", show.string(), "-o", File("b.dat")}).Status, kExitDone);
  EXPECT_EQ(ReadFileBytes(File("a.dat")), ReadFileBytes(File("b.dat")));
  // --seed gives another show, and names the same one as the show's own seed would.
  const std::string own = Figure(a.Out, "seed");
  const CliRun c = Cli({"compile", "--show", show.string(), "--seed", own, "-o", File("c.dat")});
  ASSERT_EQ(c.Status, kExitDone) << c.Err;
  EXPECT_EQ(ReadFileBytes(File("a.dat")), ReadFileBytes(File("c.dat")));
  ASSERT_EQ(Cli({"compile", "--show", show.string(), "--seed", "11", "-o", File("d.dat")}).Status, kExitDone);
  EXPECT_NE(ReadFileBytes(File("a.dat")), ReadFileBytes(File("d.dat")));
  // A seed in show.json is the show's.
  dir.Write("show/show.json", R"({"format": "orvane-show", "version": 1, "seed": 11})");
  const CliRun e = Cli({"compile", "--show", show.string(), "-o", File("e.dat")});
  ASSERT_EQ(e.Status, kExitDone) << e.Err;
  EXPECT_EQ(Figure(e.Out, "seed"), "11");
  EXPECT_EQ(ReadFileBytes(File("d.dat")), ReadFileBytes(File("e.dat")));
  EXPECT_EQ(Cli({"compile", "--show", show.string(), "--seed", "-3", "-o", File("f.dat")}).Status, kExitBadInput);
}

TEST_F(CliShowTest, RefusedListsAndCyclesGiveTheirStatus) {
  const fs::path show = ShowFolder("time,code\n0,201\n2,512\n");
  CliRun r = Cli({"compile", "--show", show.string(), "-o", File("x.dat")});
  EXPECT_EQ(r.Status, kExitBadInput);
  EXPECT_EQ(r.Err, "orvane-cli: cues.csv line 3: no device has code 512.\n");
  EXPECT_FALSE(fs::exists(File("x.dat")));

  dir.Write("list.csv", "time;code\n");
  r = Cli({"compile", "--devices", show.string(), "--cues", File("list.csv"), "-o", File("x.dat")});
  EXPECT_EQ(r.Status, kExitBadInput);
  EXPECT_EQ(r.Err, "orvane-cli: list.csv line 1: the header has no \"time\" column.\n");

  dir.Write("show/cues.csv", "time,code\n");
  r = Cli({"compile", "--show", show.string(), "-o", File("x.dat")});
  EXPECT_EQ(r.Status, kExitBadInput);
  EXPECT_EQ(r.Err, "orvane-cli: cues.csv holds no cues.\n");

  EXPECT_EQ(Cli({"compile", "--show", show.string(), "--root", "201"}).Status, kExitBadInput);
  EXPECT_EQ(Cli({"compile", "--cues", File("list.csv")}).Status, kExitBadInput);
  EXPECT_EQ(Cli({"compile", "--preset", "2", "--root", "201", "--extents", File("e.csv")}).Status, kExitBadInput);

  TBaseDevice one = orvane::testing::FormDevice(1), two = orvane::testing::FormDevice(2);
  one.NextEffExists = true;
  one.NextEffCode = 2;
  two.NextParExists = true;
  two.NextParCode = 1;
  ASSERT_TRUE(SaveDeviceFile(one, show));
  ASSERT_TRUE(SaveDeviceFile(two, show));
  dir.Write("show/cues.csv", "time,code\n0,201\n1,2\n");
  r = Cli({"compile", "--show", show.string(), "-o", File("x.dat")});
  EXPECT_EQ(r.Status, kExitRefused);
  EXPECT_NE(r.Err.find("orvane-cli: " + std::string(kRecursivityRefusal) + " (cues.csv line 3)\n"), std::string::npos)
      << r.Err;
  EXPECT_FALSE(fs::exists(File("x.dat")));
}

// A slip of the keyboard must not destroy the show it was compiled from.
TEST_F(CliShowTest, NoOutputMayBeAnInputOfTheCommand) {
  const fs::path show = ShowFolder("time,code\n0,201\n");
  dir.Write("show/show.json", R"({"format":"orvane-show","version":1,"music":{"file":"music.ogg"}})");
  dir.Write("show/music.ogg", "not really music");
  dir.Write("show/products.csv", "code,name,type\n201,Comet,comet\n");
  fs::create_symlink(show / "cues.csv", dir.Path() / "cues-link.csv");
  const std::string cues = (show / "cues.csv").string();
  std::vector<std::vector<std::string>> commands = {
      {"compile", "--show", show.string(), "-o", cues},
      {"compile", "--show", show.string(), "-o", File("a.dat"), "--extents", cues},
      {"compile", "--show", show.string(), "-o", (show / "201.odev").string()},
      {"compile", "--show", show.string(), "-o", (show / "202.osub").string()},
      {"compile", "--show", show.string(), "-o", (show / "show.json").string()},
      {"compile", "--show", show.string(), "-o", (show / "music.ogg").string()},
      {"compile", "--show", show.string(), "-o", (show / "products.csv").string()},
      {"compile", "--show", show.string(), "-o", File("cues-link.csv")},
      {"compile", "--devices", show.string(), "--root", "201", "-o", (show / "201.odev").string()},
      {"compile", "--devices", show.string(), "--cues", cues, "-o", cues},
  };
  for (const CliCommand& c : CliCommands()) {
    if (std::string(c.Name) == "preview" || std::string(c.Name) == "video")
      commands.push_back({c.Name, "--show", show.string(), "-o", cues});
  }
  const std::string before = ReadFileBytes(show / "cues.csv");
  for (const auto& words : commands) {
    const CliRun r = Cli(words);
    EXPECT_EQ(r.Status, kExitBadInput) << words[4] << " " << words.back();
    EXPECT_NE(r.Err.find("names the input"), std::string::npos) << r.Err;
  }
  EXPECT_EQ(ReadFileBytes(show / "cues.csv"), before);
  EXPECT_EQ(ReadFileBytes(show / "music.ogg"), "not really music");
  EXPECT_EQ(ReadFileBytes(show / "products.csv"), "code,name,type\n201,Comet,comet\n");
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "cues-link.csv"));
  EXPECT_NE(ReadFileBytes(show / "201.odev").find("[Simulation]"), std::string::npos);

  const CliRun same = Cli({"compile", "--show", show.string(), "-o", File("a.dat"), "--extents", File("a.dat")});
  EXPECT_EQ(same.Status, kExitBadInput);
  EXPECT_NE(same.Err.find("name the same file"), std::string::npos) << same.Err;
}

TEST_F(CliShowTest, ExtentsNeverReplaceAFifoOrADevice) {
  const fs::path show = ShowFolder("time,code\n0,201\n");
  const fs::path fifo = dir.Path() / "extents.csv";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const fs::path& special : {fifo, fs::path("/dev/null")}) {
    const CliRun r = Cli({"compile", "--show", show.string(), "-o", File("a.dat"), "--extents", special.string()});
    EXPECT_EQ(r.Status, kExitBadInput);
    EXPECT_NE(r.Err.find("it is not a regular file"), std::string::npos) << r.Err;
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_FALSE(fs::exists(File("a.dat"))) << "refused before the compile";
}

// A show compiled with some of its devices missing would be a different show.
TEST_F(CliShowTest, ARefusedDecimalInAShowDeviceEndsEveryShowCommand) {
  const fs::path show = ShowFolder("time,code\n0,201\n");
  dir.Write("show/203.osub", "[ORVN]\nSignature=Device\n[Device]\nCode=203\nKind=subdevice\n[Simulation]\nBestX=abc\n");
  std::vector<std::vector<std::string>> commands = {{"compile", "--show", show.string(), "-o", File("a.dat")}};
  for (const CliCommand& c : CliCommands()) {
    if (std::string(c.Name) == "preview") commands.push_back({c.Name, "--show", show.string(), "-o", File("a.png")});
    if (std::string(c.Name) == "video") commands.push_back({c.Name, "--show", show.string(), "-o", File("a.mp4")});
  }
  for (const auto& words : commands) {
    const CliRun r = Cli(words);
    EXPECT_EQ(r.Status, kExitBadInput) << words[0];
    EXPECT_NE(r.Err.find((show / "203.osub").string()), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("'abc' is not a valid floating point value"), std::string::npos) << r.Err;
    EXPECT_EQ(Count(r.Err, "abc"), 1u) << "one message: " << r.Err;
  }
  for (const char* name : {"a.dat", "a.png", "a.mp4"}) EXPECT_FALSE(fs::exists(File(name))) << name;
}

// A crafted label or value must not drive the terminal it is printed on.
TEST_F(CliShowTest, FileTextNeverReachesTheTerminalRaw) {
  const fs::path show = ShowFolder("time,code,x,y,z,label\n0,201,,,,\"\x1b]0;pwned\x07\x1b[2J\"\n");
  const CliRun r = Cli({"compile", "--show", show.string(), "-o", File("a.dat")});
  ASSERT_EQ(r.Status, kExitDone) << r.Err;
  EXPECT_NE(r.Out.find("label \"\\x1b]0;pwned\\x07\\x1b[2J\""), std::string::npos) << r.Out;
  EXPECT_EQ(r.Out.find('\x1b'), std::string::npos);

  dir.Write("show/cues.csv", "time,code\n\x1b[31msoon,201\n");
  const CliRun refused = Cli({"compile", "--show", show.string(), "-o", File("a.dat")});
  EXPECT_EQ(refused.Status, kExitBadInput);
  EXPECT_NE(refused.Err.find("\\x1b[31msoon"), std::string::npos) << refused.Err;
  EXPECT_EQ(refused.Err.find('\x1b'), std::string::npos);

  dir.Write("show/cues.csv", "time,code\n0,201\n");
  dir.Write("show/203.osub", "[ORVN]\nSignature=Device\n[Device]\nCode=203\n[Simulation]\nBestX=\x1b[5m1\n");
  const CliRun value = Cli({"compile", "--devices", show.string(), "--root", "201", "-o", File("a.dat")});
  EXPECT_EQ(value.Status, kExitBadInput);
  EXPECT_NE(value.Err.find("\\x1b[5m1"), std::string::npos) << value.Err;
  EXPECT_EQ(value.Err.find('\x1b'), std::string::npos);
}

// Labels go into the extents file as text, never as a formula a spreadsheet would run.
TEST_F(CliShowTest, ExtentsLabelsAreNoFormulas) {
  const fs::path show =
      ShowFolder("time,code,x,y,z,label\n0,201,,,,=1+1\n1,201,,,,@SUM(A1)\n2,201,,,,-3\n3,201,,,,fine\n");
  const CliRun r = Cli({"compile", "--show", show.string(), "-o", File("a.dat"), "--extents", File("e.csv")});
  ASSERT_EQ(r.Status, kExitDone) << r.Err;
  const std::string csv = ReadFileBytes(File("e.csv"));
  for (const char* field : {"\n2,'=1+1,", "\n3,'@SUM(A1),", "\n4,'-3,", "\n5,fine,"})
    EXPECT_NE(csv.find(field), std::string::npos) << field << " in " << csv;
}

}  // namespace
}  // namespace orvane::cli
