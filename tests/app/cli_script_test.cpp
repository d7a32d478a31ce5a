// orvane-cli script: the example show in every shipped profile, the orvane round trip, and
// the refusals that leave nothing written.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/cli_command.h"
#include "show/cue_list.h"
#include "support/cli_run.h"
#include "support/test_paths.h"

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;
using orvane::testing::Cli;
using orvane::testing::CliRun;
using orvane::testing::Figure;
using orvane::testing::ReadFileBytes;
using orvane::testing::ScratchDir;

std::vector<Cue> CuesOf(const std::string& text) {
  Result<std::vector<Cue>> read = ReadCueList(text, "cues.csv", nullptr);
  if (!read) {
    ADD_FAILURE() << read.Message();
    return {};
  }
  for (Cue& cue : read.Value()) cue.Line = 0;
  return std::move(read.Value());
}

size_t Lines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

class CliScriptTest : public ::testing::Test {
 protected:
  // A copy of the example show, to change.
  fs::path ExampleCopy() {
    const fs::path copy = dir.Path() / "show";
    fs::copy(ORVANE_EXAMPLE_SHOW, copy, fs::copy_options::recursive);
    return copy;
  }
  // The example show with other cues.
  fs::path ShowWithCues(const std::string& cues) {
    const fs::path show = ExampleCopy();
    dir.Write("show/cues.csv", cues);
    return show;
  }
  CliRun Script(const fs::path& show, const std::string& profile, const std::string& out) {
    return Cli({"script", "--show", show.string(), "--profile", profile, "-o", (dir.Path() / out).string()});
  }
  ScratchDir dir;
};

TEST_F(CliScriptTest, TheExampleShowExportsWithEveryShippedProfile) {
  const struct {
    const char* profile;
    const char* start;  // the script's first bytes
    size_t lines;       // 36 cues
  } cases[] = {
      {"orvane", "# Orvane firing script: Harbour Night\n", 2 + 1 + 36},
      {"channel-cue",
       "Show,Harbour Night\r\nCues,36\r\nTime,Channel,Cue,Product,Position,Qty,Description\r\n"
       "00:00:00.00,3,1,\"Yellow-to-red spark burst, aerial\",C,1,\"opening spark, centre\"\r\n",
       2 + 1 + 36},
      {"timecode-30", "Timecode;Module;Pin;Position;Product;Calibre (mm);Prefire (s)\n00:00:00:00;2;0;C;", 1 + 36},
      {"srt", "1\r\n00:00:00,000 --> 00:00:01,000\r\nC, Yellow-to-red spark burst, aerial, module 3, pin 1\r\n\r\n",
       36 * 4},
  };
  for (const auto& c : cases) {
    const CliRun r = Script(ORVANE_EXAMPLE_SHOW, c.profile, c.profile);
    ASSERT_EQ(r.Status, kExitDone) << c.profile << ": " << r.Err;
    EXPECT_EQ(Figure(r.Out, "cues"), "36") << c.profile;
    EXPECT_EQ(Figure(r.Out, "addresses assigned"), "36") << c.profile;
    const std::string script = ReadFileBytes(dir.Path() / c.profile);
    EXPECT_EQ(script.substr(0, std::string(c.start).size()), c.start) << c.profile;
    EXPECT_EQ(Lines(script), c.lines) << c.profile;
  }
  // The example's cues break on the beat, off whole tenths: 39.52 s is frame 1185.6 of 30 per
  // second, so frame 1186 moves it by 0.4 frame, as far as any hundredth of a second moves.
  EXPECT_EQ(Figure(Script(ORVANE_EXAMPLE_SHOW, "timecode-30", "again").Out, "largest rounding"),
            "13.333 ms (cues.csv line 26)");
}

TEST_F(CliScriptTest, TheOrvaneProfileRoundTripsCuesAddressesAndLabels) {
  const fs::path show = ExampleCopy();
  const CliRun r = Cli({"script", "--show", show.string(), "--profile", "orvane", "-o",
                        (dir.Path() / "script.csv").string(), "--write-addresses"});
  ASSERT_EQ(r.Status, kExitDone) << r.Err;
  EXPECT_EQ(Figure(r.Out, "addresses written"), "36 to " + (show / "cues.csv").string());
  const std::vector<Cue> addressed = CuesOf(ReadFileBytes(show / "cues.csv"));
  ASSERT_EQ(addressed.size(), 36u);
  EXPECT_TRUE(std::all_of(addressed.begin(), addressed.end(), [](const Cue& c) { return c.Module && c.Pin; }));
  // Apart from the addresses, cues.csv holds the cues it held.
  std::vector<Cue> plain = addressed;
  for (Cue& cue : plain) cue.Module = cue.Pin = std::nullopt;
  EXPECT_EQ(plain, CuesOf(ReadFileBytes(fs::path(ORVANE_EXAMPLE_SHOW) / "cues.csv")));

  const CliRun back =
      Cli({"script", "--import", (dir.Path() / "script.csv").string(), "-o", (dir.Path() / "back.csv").string()});
  ASSERT_EQ(back.Status, kExitDone) << back.Err;
  EXPECT_EQ(CuesOf(ReadFileBytes(dir.Path() / "back.csv")), addressed);
  // Addressed cues export to the same script, with nothing assigned.
  const CliRun again = Script(show, "orvane", "again.csv");
  EXPECT_EQ(Figure(again.Out, "addresses assigned"), "0");
  EXPECT_EQ(ReadFileBytes(dir.Path() / "again.csv"), ReadFileBytes(dir.Path() / "script.csv"));
}

TEST_F(CliScriptTest, APinClashIsRefusedNamingBothLinesAndWritesNothing) {
  const fs::path show =
      ShowWithCues("time,code,position,module,pin\n0,104,C,1,1\n1,104,B,,\n2,104,E,2,3\n3,204,C,1,1\n");
  const CliRun r = Script(show, "channel-cue", "out.csv");
  EXPECT_EQ(r.Status, kExitBadInput);
  EXPECT_NE(r.Err.find("cues.csv lines 2 and 5: both fire module 1 pin 1."), std::string::npos) << r.Err;
  EXPECT_FALSE(fs::exists(dir.Path() / "out.csv"));
  for (const auto& entry : fs::directory_iterator(dir.Path())) EXPECT_EQ(entry.path().filename(), "show");
}

TEST_F(CliScriptTest, MinimumSpacingIsEnforcedPerModule) {
  const fs::path show =
      ShowWithCues("time,code,position,module,pin\n1.0,104,C,1,1\n1.5,104,C,1,2\n1.5,104,B,2,1\n2.1,104,C,1,3\n");
  const std::string profile = R"({"name":"spaced","columns":[{"header":"T","field":"ignition_time"}],
    "min_spacing_ms":%})";
  auto withSpacing = [&](const std::string& ms) {
    std::string text = profile;
    text.replace(text.find('%'), 1, ms);
    return dir.Write("spaced-" + ms + ".json", text).string();
  };
  const CliRun refused = Script(show, withSpacing("600"), "refused.csv");
  EXPECT_EQ(refused.Status, kExitBadInput);
  EXPECT_NE(refused.Err.find("cues.csv lines 2 and 3: module 1 fires at 1.000 s and 1.500 s, less than the "
                             "profile's 600 ms apart."),
            std::string::npos)
      << refused.Err;
  // 600 ms apart is allowed.
  EXPECT_EQ(refused.Err.find("cues.csv lines 3 and 5"), std::string::npos) << refused.Err;
  EXPECT_FALSE(fs::exists(dir.Path() / "refused.csv"));
  const CliRun allowed = Script(show, withSpacing("500"), "allowed.csv");
  EXPECT_EQ(allowed.Status, kExitDone) << allowed.Err;
  EXPECT_EQ(ReadFileBytes(dir.Path() / "allowed.csv"), "T\n1000\n1500\n1500\n2100\n");
}

TEST_F(CliScriptTest, BadProfilesAndOutputsAreRefused) {
  const fs::path show = fs::path(ORVANE_EXAMPLE_SHOW);
  const CliRun unknown = Script(show, "firemaster", "a.csv");
  EXPECT_EQ(unknown.Status, kExitBadInput);
  EXPECT_NE(unknown.Err.find("no profile is named \"firemaster\" (shipped: channel-cue, orvane, srt, timecode-30;"),
            std::string::npos)
      << unknown.Err;
  const fs::path bad = dir.Write("bad.json", "{\"name\":\"b\",\n\"columns\":[{\"field\":\"colour\"}]}");
  const CliRun badField = Script(show, bad.string(), "a.csv");
  EXPECT_EQ(badField.Status, kExitBadInput);
  EXPECT_NE(badField.Err.find("bad.json: \"columns\"[0].\"field\": unknown field \"colour\"."), std::string::npos)
      << badField.Err;
  // An existing output only with --force, and never a file of the show.
  dir.Write("taken.csv", "mine");
  EXPECT_EQ(Script(show, "orvane", "taken.csv").Status, kExitBadInput);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "taken.csv"), "mine");
  const fs::path copy = ExampleCopy();
  const std::string cues = ReadFileBytes(copy / "cues.csv");
  const CliRun over =
      Cli({"script", "--show", copy.string(), "--profile", "orvane", "-o", (copy / "cues.csv").string(), "--force"});
  EXPECT_EQ(over.Status, kExitBadInput);
  EXPECT_NE(over.Err.find("it is a file the command reads"), std::string::npos) << over.Err;
  EXPECT_EQ(ReadFileBytes(copy / "cues.csv"), cues);
  const CliRun importOver = Cli({"script", "--import", (dir.Path() / "taken.csv").string(), "-o",
                                 (dir.Path() / "taken.csv").string(), "--force"});
  EXPECT_EQ(importOver.Status, kExitBadInput);
  EXPECT_EQ(ReadFileBytes(dir.Path() / "taken.csv"), "mine");
}

TEST_F(CliScriptTest, ImportRefusesScriptsThatDoNotReadNamingTheLine) {
  const std::string head =
      "# a\n# b\ntime_ms,break_ms,module,pin,position,code,product,part_number,type,calibre_mm,"
      "prefire_s,duration_s,quantity,label,line,x,y,z\n";
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {head + "0,0,1,1,A,104,,,,,,,1,,2,,,\n500,0,1,,A,104,,,,,,,1,,3,,,\n", "s.csv line 5: a module without a pin."},
      {head + "soon,0,1,1,A,104,,,,,,,1,,2,,,\n",
       "s.csv line 4: ignition_time \"soon\" is not a time from 0 to a day."},
      {head + "0,0,1,1,A,1x4,,,,,,,1,,2,,,\n", "s.csv line 4: code \"1x4\" is not a device code."},
      {head + "0,0,1,1,,104,,,,,,,1,,2,99,,\n", "s.csv line 4: x \"99\" is not a coordinate of the show's range."},
      {"# a\n# b\ntime,code\n", "s.csv line 3: the column headers are not the profile \"orvane\"'s."},
      {"# a\n", "s.csv: the profile's 2 header lines are missing."},
  };
  for (const auto& c : cases) {
    dir.Write("s.csv", c.text);
    const CliRun r =
        Cli({"script", "--import", (dir.Path() / "s.csv").string(), "-o", (dir.Path() / "c.csv").string()});
    EXPECT_EQ(r.Status, kExitBadInput) << c.message;
    EXPECT_NE(r.Err.find(c.message), std::string::npos) << r.Err;
    EXPECT_FALSE(fs::exists(dir.Path() / "c.csv"));
  }
}

}  // namespace
}  // namespace orvane::cli
