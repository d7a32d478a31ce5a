// The manual pages and the completion say what the command table says, render without
// roff warnings, and the completion script completes what a user types.

#include "app/manuals.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <set>
#include <string>

#include "support/cli_run.h"
#include "support/test_paths.h"
#include "util/data_folders.h"
#include "util/version.h"

namespace orvane::cli {
namespace {

using orvane::testing::Cli;
using orvane::testing::Figure;
using orvane::testing::ReadFileBytes;
using orvane::testing::ScratchDir;

int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Manuals, EveryOptionIsShownInItsCommandsUsage) {
  for (const CliCommand& c : CliCommands()) {
    for (const OptionPlaceholder& o : OptionPlaceholders(c))
      EXPECT_FALSE(o.Placeholder.empty()) << c.Name << " takes " << o.Option << " but its usage does not show it";
    for (const std::string& flag : c.FlagOptions)
      EXPECT_NE(std::string(c.Usage).find(flag), std::string::npos) << c.Name << " " << flag;
  }
}

TEST(Manuals, PlaceholdersTellWhatToComplete) {
  const struct {
    const char* Placeholder;
    ValueKind Kind;
  } cases[] = {
      {"DIR", ValueKind::Folder},
      {"FILE", ValueKind::File},
      {"FILE.csv", ValueKind::File},
      {"OUT.mp4", ValueKind::File},
      {"SHEET.png", ValueKind::File},
      {"SHOWFILE", ValueKind::File},
      {"model|grid|none", ValueKind::Choice},
      {"CODE", ValueKind::Typed},
      {"WxH", ValueKind::Typed},
      {"yaw,pitch,x,y,z", ValueKind::Typed},
      {"", ValueKind::Typed},
  };
  for (const auto& c : cases) EXPECT_EQ(KindOfPlaceholder(c.Placeholder), c.Kind) << c.Placeholder;
}

TEST(Manuals, RoffEscapingKeepsTextLiteral) {
  const struct {
    const char* Text;
    const char* Roff;
  } cases[] = {
      {"--root CODE", "\\-\\-root CODE"}, {".odev files", "\\&.odev files"},
      {"'quoted'", "\\&'quoted'"},        {"a\\b", "a\\eb"},
      {"x.y and it's", "x.y and it's"},   {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RoffEscape(c.Text), c.Roff) << c.Text;
}

TEST(Manuals, ShortSummaryStopsAtTheFirstAside) {
  EXPECT_EQ(ShortSummary("checks a file; prints figures"), "checks a file");
  EXPECT_EQ(ShortSummary("draws frames (in OUT) as PNG"), "draws frames");
  EXPECT_EQ(ShortSummary("prints where: the data"), "prints where");
  EXPECT_EQ(ShortSummary("no aside"), "no aside");
}

TEST(Manuals, OnePagePerCommandBesidesTheTwoPrograms) {
  const std::vector<ManPage> pages = ManPages();
  std::set<std::string> names;
  for (const ManPage& p : pages) {
    names.insert(p.Name);
    EXPECT_NE(p.Text.find(".SH NAME\n" + RoffEscape(p.Name) + " \\- "), std::string::npos) << p.Name;
    EXPECT_NE(p.Text.find(std::string("\"Orvane ") + ProgramVersion() + "\""), std::string::npos) << p.Name;
  }
  EXPECT_EQ(names.size(), pages.size());
  EXPECT_TRUE(names.count("orvane"));
  EXPECT_TRUE(names.count("orvane-cli"));
  for (const CliCommand& c : CliCommands()) {
    const std::string name = std::string("orvane-cli-") + c.Name;
    ASSERT_TRUE(names.count(name)) << name;
    const std::string& text =
        std::find_if(pages.begin(), pages.end(), [&](const ManPage& p) { return p.Name == name; })->Text;
    for (const std::string& option : c.ValueOptions)
      EXPECT_NE(text.find(RoffEscape(option)), std::string::npos) << name;
    EXPECT_NE(text.find(RoffEscape(c.Example)), std::string::npos) << name;
  }
}

TEST(Manuals, PagesRenderWithoutRoffWarnings) {
  ScratchDir dir;
  for (const ManPage& p : ManPages()) {
    const std::filesystem::path page = dir.Write(p.Name + ".1", p.Text);
    const std::string warnings = (dir.Path() / "warnings").string();
    // As lintian checks them.
    ASSERT_EQ(Shell("LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z '" + page.string() +
                    "' >/dev/null 2>'" + warnings + "'"),
              0)
        << p.Name << " (is man-db installed?)";
    EXPECT_EQ(ReadFileBytes(warnings), "") << p.Name;
  }
}

// What the completion offers for a command line typed up to the cursor at its end.
std::set<std::string> Completions(const ScratchDir& dir, const std::string& typed) {
  const std::filesystem::path script = dir.Write("completion.bash", BashCompletion());
  const std::string out = (dir.Path() / "completions").string();
  const std::string command = "cd '" + dir.Path().string() + "' && bash --norc --noprofile -c 'source \"" +
                              script.string() + "\" || exit 3; read -ra COMP_WORDS <<< \"$1\"; [[ $1 == *\" \" ]] && " +
                              "COMP_WORDS+=(\"\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _orvane_cli; " +
                              "printf \"%s\\n\" \"${COMPREPLY[@]}\"' _ '" + typed + "' >'" + out + "'";
  EXPECT_EQ(Shell(command), 0) << typed;
  std::set<std::string> words;
  std::istringstream lines(ReadFileBytes(out));
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) words.insert(line);
  return words;
}

TEST(Manuals, CompletionOffersCommandsOptionsAndValues) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.Path() / "shows");
  dir.Write("show.dat", "x");
  const struct {
    const char* Typed;
    std::set<std::string> Expected;
  } cases[] = {
      {"orvane-cli inf", {"info"}},
      {"orvane-cli --v", {"--version"}},
      {"orvane-cli compile --sc", {"--scale"}},
      {"orvane-cli compile --show ", {"shows"}},                                      // folders only
      {"orvane-cli info ", {"completion.bash", "completions", "show.dat", "shows"}},  // any file
      {"orvane-cli compile --root ", {}},                                             // a code is typed
      {"orvane-cli nonsense --", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Completions(dir, c.Typed), c.Expected) << c.Typed;
  std::set<std::string> all;
  for (const CliCommand& c : CliCommands()) all.insert(c.Name);
  all.insert({"--help", "--version"});
  EXPECT_EQ(Completions(dir, "orvane-cli "), all);
}

TEST(Manuals, CompletionOffersTheChoicesOfAChoiceOption) {
  for (const CliCommand& c : CliCommands()) {
    for (const OptionPlaceholder& o : OptionPlaceholders(c)) {
      if (KindOfPlaceholder(o.Placeholder) != ValueKind::Choice) continue;
      ScratchDir dir;
      std::set<std::string> expected;
      std::istringstream choices(o.Placeholder);
      for (std::string w; std::getline(choices, w, '|');) expected.insert(w);
      EXPECT_EQ(Completions(dir, std::string("orvane-cli ") + c.Name + " " + o.Option + " "), expected);
    }
  }
}

TEST(Manuals, VersionComesFromTheBuild) {
  const orvane::testing::CliRun r = Cli({"--version"});
  EXPECT_EQ(r.Status, kExitDone);
  EXPECT_EQ(r.Out, std::string("orvane-cli ") + ProgramVersion() + "\n");
  EXPECT_EQ(std::string(ProgramVersion()), ORVANE_EXPECTED_VERSION);
}

class FoldersCommand : public ::testing::Test {
 protected:
  void TearDown() override { unsetenv(kDataRootVariable); }
};

TEST_F(FoldersCommand, NamesTheDataFolderAndWhatItHolds) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.Path() / "examples");
  std::filesystem::create_directory(dir.Path() / "library");
  setenv(kDataRootVariable, dir.Path().c_str(), 1);
  const orvane::testing::CliRun r = Cli({"folders"});
  EXPECT_EQ(r.Status, kExitDone);
  EXPECT_EQ(Figure(r.Out, "data"), dir.Path().string());
  EXPECT_EQ(Figure(r.Out, "examples"), (dir.Path() / "examples").string());
  EXPECT_EQ(Figure(r.Out, "library"), (dir.Path() / "library").string());
  EXPECT_EQ(Figure(r.Out, "profiles"), "none");
}

TEST_F(FoldersCommand, AMissingDataFolderIsNone) {
  setenv(kDataRootVariable, "/nonexistent/orvane-data", 1);
  const orvane::testing::CliRun r = Cli({"folders"});
  EXPECT_EQ(r.Status, kExitDone);
  EXPECT_EQ(Figure(r.Out, "data"), "none");
  EXPECT_EQ(Figure(r.Out, "examples"), "none");
  EXPECT_EQ(Cli({"folders", "extra"}).Status, kExitBadInput);
}

}  // namespace
}  // namespace orvane::cli
