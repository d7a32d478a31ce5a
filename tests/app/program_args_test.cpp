#include "app/program_args.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/test_paths.h"

namespace orvane {
namespace {

using Action = ProgramArgs::Action;
using orvane::testing::ScratchDir;

TEST(ProgramArgs, WordsAskForAnActionAndAShow) {
  ScratchDir dir;
  const std::string folder = dir.Path().string();
  const std::string showJson = dir.Write("show.json", "{}").string();
  const struct {
    std::vector<std::string> Words;
    Action What;
    std::string Folder;  // empty: none
  } cases[] = {
      {{}, Action::Run, ""},
      {{folder}, Action::Run, folder},
      {{showJson}, Action::Run, folder},  // as a file manager passes it
      {{"--show", folder}, Action::Run, folder},
      {{"--show=" + folder}, Action::Run, folder},
      {{"--help"}, Action::Help, ""},
      {{"-h", folder}, Action::Help, ""},
      {{"--version"}, Action::Version, ""},
      {{"--version", "--help"}, Action::Help, ""},
      {{"--show"}, Action::Refuse, ""},
      {{"--bogus"}, Action::Refuse, ""},
      {{folder, showJson}, Action::Refuse, ""},
      {{"--show", folder, folder}, Action::Refuse, ""},
  };
  for (const auto& c : cases) {
    const ProgramArgs args = ParseProgramArgs(c.Words);
    const std::string words = c.Words.empty() ? "(none)" : c.Words[0];
    EXPECT_EQ(args.What, c.What) << words;
    EXPECT_EQ(args.ShowFolder ? args.ShowFolder->string() : "", c.Folder) << words;
    EXPECT_EQ(args.Error.empty(), c.What != Action::Refuse) << words;
  }
}

TEST(ProgramArgs, AMissingShowIsKeptToBeReported) {
  EXPECT_EQ(ShowFolderOf("/nonexistent/show"), std::filesystem::path("/nonexistent/show"));
}

TEST(ProgramArgs, TextRequestsAreSeenBeforeTheToolkitStarts) {
  EXPECT_TRUE(AsksForTextOnly({"--version"}));
  EXPECT_TRUE(AsksForTextOnly({"-platform", "xcb", "--help"}));
  EXPECT_FALSE(AsksForTextOnly({"--show", "x"}));
  EXPECT_FALSE(AsksForTextOnly({}));
}

TEST(ProgramArgs, HelpListsEveryUsageLine) {
  std::ostringstream out;
  PrintProgramHelp(out);
  for (const ProgramUsageLine& line : kProgramUsage) {
    EXPECT_NE(out.str().find(line.Meaning), std::string::npos) << line.Arguments;
    EXPECT_NE(out.str().find(std::string("orvane ") + line.Arguments), std::string::npos) << line.Arguments;
  }
}

}  // namespace
}  // namespace orvane
