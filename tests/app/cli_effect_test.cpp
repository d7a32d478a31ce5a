// orvane-cli effect and library, run in-process.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/cli_command.h"
#include "model/device_list.h"
#include "support/cli_run.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;
using orvane::testing::Cli;
using orvane::testing::CliRun;
using orvane::testing::Figure;
using orvane::testing::ReadFileBytes;

// A row without quoted fields.
std::vector<std::string> SplitFields(const std::string& row) {
  std::vector<std::string> fields(1);
  for (char c : row) {
    if (c == ',') fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}
using orvane::testing::ScratchDir;

TEST(CliEffect, WritesTheDevicesUnderFreeCodesAndPrintsTheProductRow) {
  ScratchDir dir;
  dir.Write("1000.odev", "someone's own device\n");
  const CliRun r = Cli({"effect", "100mm", "gold", "willow", "-o", dir.Path().string()});
  ASSERT_EQ(r.Status, kExitDone) << r.Err;
  EXPECT_EQ(Figure(r.Out, "name"), "100mm gold willow");
  EXPECT_EQ(Figure(r.Out, "code"), "1001") << "1000 is taken in the folder";
  EXPECT_EQ(Figure(r.Out, "devices"), "2");
  EXPECT_NEAR(std::stod(Figure(r.Out, "break-height-m")), 120, 120 * 0.15);
  EXPECT_NEAR(std::stod(Figure(r.Out, "spread-m")), 50, 50 * 0.15);
  const std::string row = Figure(r.Out, "product");
  EXPECT_EQ(row.rfind("1001,100mm gold willow,shell,100,,", 0), 0u) << row;
  // A shell breaks: its prefire is between firing and the end of its duration.
  const std::vector<std::string> fields = SplitFields(row);
  ASSERT_EQ(fields.size(), 12u) << row;
  EXPECT_GT(std::stod(fields[6]), 1.0) << row;
  EXPECT_LT(std::stod(fields[6]), std::stod(fields[5])) << row;
  EXPECT_EQ(row.substr(row.size() - std::string(",gold,Orvane,,,").size()), ",gold,Orvane,,,") << row;
  EXPECT_EQ(ReadFileBytes(dir.Path() / "1000.odev"), "someone's own device\n");
  // The folder loads as devices that chain lift to burst.
  DeviceList list([](TBaseDevice&) { return true; });
  orvane::testing::ScriptedDialogs dialogs;
  const FolderLoadReport report = list.LoadFolder(dir.Path(), dialogs);
  EXPECT_EQ(report.Loaded, 2u);
  ASSERT_TRUE(fs::exists(dir.Path() / "1001.odev"));
  ASSERT_TRUE(fs::exists(dir.Path() / "1002.osub"));
  EXPECT_NE(ReadFileBytes(dir.Path() / "1001.odev").find("NextParCode=1002"), std::string::npos);
  // A second product goes beside the first.
  const CliRun again = Cli({"effect", "50mm red peony cake 3 shots", "-o", dir.Path().string()});
  ASSERT_EQ(again.Status, kExitDone) << again.Err;
  EXPECT_EQ(Figure(again.Out, "code"), "1003");
  EXPECT_EQ(Figure(again.Out, "devices"), "4");
}

TEST(CliEffect, RefusesWhatItCannotDoWithAMessage) {
  ScratchDir dir;
  const std::string out = dir.Path().string();
  const std::string file = dir.Write("file", "x").string();
  const struct {
    std::vector<std::string> Words;
    const char* Message;
  } cases[] = {
      {{"effect", "100mm sparkly willow", "-o", out}, "\"sparkly\" does not fit"},
      {{"effect", "100mm gold willow"}, "needs a description and -o DIR"},
      {{"effect", "-o", out}, "needs a description and -o DIR"},
      {{"effect", "100mm gold willow", "-o", file}, "is not a folder"},
      {{"effect", "100mm gold willow", "-o", out, "--first-code", "-3"}, "--first-code takes"},
      {{"effect", "100mm gold willow", "-o", out, "--first-code", "2147483647"}, "No free device codes"},
      {{"library"}, "library needs --rebuild"},
      {{"library", "--rebuild", "--check"}, "library needs --rebuild"},
  };
  for (const auto& c : cases) {
    const CliRun r = Cli(c.Words);
    EXPECT_EQ(r.Status, kExitBadInput) << c.Words.back();
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << c.Words.back() << ": " << r.Err;
  }
  EXPECT_FALSE(fs::exists(dir.Path() / "2147483647.odev")) << "a refused product leaves nothing behind";
}

TEST(CliLibrary, ACheckFindsAShelfThatIsNotWhatTheRecipesMake) {
  ScratchDir dir;
  const fs::path shelf = dir.Path() / "generated";
  const CliRun rebuilt = Cli({"library", "--rebuild", "-o", shelf.string()});
  ASSERT_EQ(rebuilt.Status, kExitDone) << rebuilt.Err;
  EXPECT_GE(std::stoi(Figure(rebuilt.Out, "products")), 60);
  const CliRun same = Cli({"library", "--check", shelf.string()});
  EXPECT_EQ(same.Status, kExitDone) << same.Err;
  EXPECT_EQ(Figure(same.Out, "differences"), "0");
  dir.Write("generated/1001.osub", "edited\n");
  const CliRun edited = Cli({"library", "--check", shelf.string()});
  EXPECT_EQ(edited.Status, kExitRefused);
  EXPECT_NE(edited.Err.find("1001.osub differs"), std::string::npos) << edited.Err;
  EXPECT_NE(edited.Err.find("library --rebuild"), std::string::npos) << edited.Err;
}

}  // namespace
}  // namespace orvane::cli
