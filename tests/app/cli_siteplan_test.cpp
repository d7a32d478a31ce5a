// orvane-cli siteplan: the example show's plan as SVG, PDF and PNG, the check and its
// report, the legend CSV, and refusals that write nothing.

#include <gtest/gtest.h>

#include <QImage>
#include <QXmlStreamReader>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "app/cli_command.h"
#include "support/cli_run.h"
#include "support/test_paths.h"

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;
using orvane::testing::Cli;
using orvane::testing::CliRun;
using orvane::testing::ReadFileBytes;
using orvane::testing::ScratchDir;

// Stdout and exit status of a shell command.
std::pair<int, std::string> Shell(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, out};
  std::array<char, 4096> buffer{};
  size_t got = 0;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), got);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

class CliSitePlanTest : public ::testing::Test {
 protected:
  // A copy of the example show whose audience line is at `z` metres.
  fs::path ShowWithAudienceAt(double z) {
    const fs::path copy = dir.Path() / "show";
    fs::copy(ORVANE_EXAMPLE_SHOW, copy, fs::copy_options::recursive);
    std::string json = ReadFileBytes(copy / "show.json");
    json = std::regex_replace(json, std::regex(R"(\[\[-150\.0, 120\.0\], \[150\.0, 120\.0\]\])"),
                              "[[-150.0, " + std::to_string(z) + "], [150.0, " + std::to_string(z) + "]]");
    dir.Write("show/show.json", json);
    return copy;
  }
  CliRun Plan(const fs::path& show, std::vector<std::string> more) {
    std::vector<std::string> words = {"siteplan", "--show", show.string()};
    words.insert(words.end(), more.begin(), more.end());
    return Cli(words);
  }
  std::string Out(const std::string& name) const { return (dir.Path() / name).string(); }
  ScratchDir dir;
};

TEST_F(CliSitePlanTest, TheExampleShowsSvgIsWellFormedAndNamesEveryPosition) {
  const CliRun r = Plan(ORVANE_EXAMPLE_SHOW, {"-o", Out("plan.svg"), "--check"});
  ASSERT_EQ(r.Status, kExitDone) << r.Err;
  EXPECT_NE(r.Out.find("positions: 6\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("check: every position clears the audience"), std::string::npos) << r.Out;
  QXmlStreamReader xml(QByteArray::fromStdString(ReadFileBytes(Out("plan.svg"))));
  std::set<std::string> texts;
  std::string root;
  int paths = 0;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (root.empty()) root = xml.name().toString().toStdString();
    if (xml.name() == u"path" || xml.name() == u"polyline" || xml.name() == u"polygon") ++paths;
    if (xml.name() == u"text") texts.insert(xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString());
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(root, "svg");
  EXPECT_GT(paths, 20);
  for (const char* name : {"A", "B", "C", "D", "E", "F", "Audience: Quay", "Top view"})
    EXPECT_TRUE(texts.count(name)) << name;
}

TEST_F(CliSitePlanTest, ThePdfOpensInAReaderAsALandscapePage) {
  for (const auto& [paper, size] : {std::pair{"a4", "842 x 595 pts (A4)"}, std::pair{"a3", "1191 x 842 pts (A3)"}}) {
    const std::string pdf = Out(std::string("plan-") + paper + ".pdf");
    const CliRun r = Plan(ORVANE_EXAMPLE_SHOW, {"-o", pdf, "--paper", paper});
    ASSERT_EQ(r.Status, kExitDone) << r.Err;
    const auto [status, info] = Shell("pdfinfo '" + pdf + "' 2>&1");
    ASSERT_EQ(status, 0) << info;
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find(std::string("Page size:       ") + size), std::string::npos) << info;
    EXPECT_NE(info.find("Harbour Night: site plan"), std::string::npos) << info;
  }
}

TEST_F(CliSitePlanTest, ThePngIsAnA4SheetAtAboutAHundredAndFiftyDpi) {
  ASSERT_EQ(Plan(ORVANE_EXAMPLE_SHOW, {"-o", Out("plan.png")}).Status, kExitDone);
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(Out("plan.png"))));
  EXPECT_EQ(image.width(), 1782);
  EXPECT_EQ(image.height(), 1260);
}

TEST_F(CliSitePlanTest, AnAudienceInsideACircleFailsTheCheckNamingPositionAndShortfall) {
  // 100 m from the front: the 105 m circles of A, D and F reach it, the 84 m ones do not.
  const CliRun r = Plan(ShowWithAudienceAt(100), {"--check", "--table", Out("legend.csv")});
  EXPECT_EQ(r.Status, kExitBadInput) << r.Out << r.Err;
  for (const char* position : {"A", "D", "F"})
    EXPECT_NE(r.Out.find(std::string("Position ") + position + ": the rule circle of 105.0 m (125.0 mm"),
              std::string::npos)
        << r.Out;
  EXPECT_NE(r.Out.find("at 100.0 m: 5.0 m short (cues.csv line"), std::string::npos) << r.Out;
  EXPECT_EQ(r.Out.find("Position B: the rule circle"), std::string::npos) << r.Out;
  EXPECT_NE(r.Err.find("safety violation"), std::string::npos) << r.Err;
  const std::string csv = ReadFileBytes(Out("legend.csv"));
  EXPECT_EQ(csv.rfind("position,cues,cue_lines,", 0), 0u) << csv;
  EXPECT_NE(csv.find("\nA,5,"), std::string::npos) << csv;
  EXPECT_NE(csv.find(",Quay,100.0,-5.0\n"), std::string::npos) << csv;
}

TEST_F(CliSitePlanTest, RefusalsWriteNothing) {
  const fs::path show = ShowWithAudienceAt(120);
  struct Case {
    std::vector<std::string> Args;
    const char* Says;
  };
  const Case cases[] = {
      {{"-o", Out("plan.jpg")}, ".pdf, .svg or .png"},
      {{"-o", Out("plan.pdf"), "--paper", "letter"}, "a4 or a3"},
      {{"-o", (show / "show.json").string()}, ".pdf, .svg or .png"},
      {{"-o", (show / "cues.csv").string() + ".svg", "--table", (show / "cues.csv").string()}, "input"},
      {{}, "at least one of"},
      {{"--table", (show / "safety-rules" / "own.json").string()}, "input"},
  };
  dir.Write("show/safety-rules/own.json", "{}");
  for (const Case& c : cases) {
    const CliRun r = Plan(show, c.Args);
    EXPECT_EQ(r.Status, kExitBadInput) << c.Says;
    EXPECT_NE(r.Err.find(c.Says), std::string::npos) << r.Err;
  }
  std::string json = ReadFileBytes(show / "show.json");
  dir.Write("show/show.json", std::regex_replace(json, std::regex("70ft-per-inch"), "no-such-rule"));
  const CliRun unknown = Plan(show, {"-o", Out("plan.pdf")});
  EXPECT_EQ(unknown.Status, kExitBadInput);
  EXPECT_NE(unknown.Err.find("no safety rule is named \"no-such-rule\""), std::string::npos) << unknown.Err;
  EXPECT_FALSE(fs::exists(Out("plan.pdf")));
  EXPECT_FALSE(fs::exists(Out("plan.jpg")));
  EXPECT_FALSE(fs::exists((show / "cues.csv").string() + ".svg"));
  EXPECT_EQ(ReadFileBytes(show / "safety-rules" / "own.json"), "{}");
}

}  // namespace
}  // namespace orvane::cli
