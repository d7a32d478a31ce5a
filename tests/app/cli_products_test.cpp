// orvane-cli products and summary, and what a site and products do to a compile: nothing.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/cli_command.h"
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

constexpr const char* kSite = R"({"format":"orvane-show","version":1,"site":{"metres_per_unit":20,
  "positions":[{"name":"A","x":-60,"z":0},{"name":"B","x":60,"z":20}],
  "audience":[{"name":"Quay","kind":"line","points":[[-150,120],[150,120]]}]}})";

constexpr const char* kProducts =
    "code,name,type,calibre_mm,shots,duration_s,prefire_s,colours,maker,part_number,price,stock,bin\n"
    "601,Orange shell,shell,50,,,,orange,,,12.5,1,7\n"
    "201,\"Green comets, fan\",comet,,,,0.4,green,,,3,\n";

class CliProductsTest : public ::testing::Test {
 protected:
  // Presets 2 and 6 in a show folder with the given cues.
  fs::path Show(const std::string& cues) {
    const fs::path folder = dir.Path() / "show";
    for (const char* k : {"2", "6"}) EXPECT_EQ(Cli({"save", "--preset", k, "-o", folder.string()}).Status, kExitDone);
    dir.Write("show/cues.csv", cues);
    return folder;
  }
  std::string Compiled(const fs::path& show, const std::string& name) {
    const CliRun r = Cli({"compile", "--show", show.string(), "--seed", "5", "-o", (dir.Path() / name).string()});
    EXPECT_EQ(r.Status, kExitDone) << r.Err;
    return ReadFileBytes(dir.Path() / name);
  }
  ScratchDir dir;
};

TEST_F(CliProductsTest, ASiteProductsAndNamedPositionsLeaveTheCompiledBytesAsTheyWere) {
  const fs::path show = Show("time,code,x,y,z,label\n0,601,-3,,0,left\n1.5,201,3,,1,right\n2,601,,,,own\n");
  const std::string before = Compiled(show, "before.dat");
  ASSERT_FALSE(before.empty());
  dir.Write("show/show.json", kSite);
  dir.Write("show/products.csv", kProducts);
  EXPECT_EQ(Compiled(show, "site.dat"), before);
  // The same places named: A is x -60 m, B is x 60 m and z 20 m.
  dir.Write("show/cues.csv", "time,code,position,y,label\n0,601,A,,left\n1.5,201,B,,right\n2,601,,,own\n");
  EXPECT_EQ(Compiled(show, "named.dat"), before);
}

TEST_F(CliProductsTest, ProductsPrintsMeasuredFiguresInMetres) {
  const fs::path show = Show("time,code,position\n0,601,A\n3,201,B\n4,204,\n");
  dir.Write("show/show.json", kSite);
  dir.Write("show/products.csv", kProducts);
  const CliRun r = Cli({"products", "--show", show.string()});
  ASSERT_EQ(r.Status, kExitDone) << r.Err;
  EXPECT_EQ(Figure(r.Out, "metres-per-unit"), "20");
  const std::string shell = Figure(r.Out, "product");
  EXPECT_EQ(shell.rfind("601, \"Orange shell\", shell, 50 mm, prefire 1.", 0), 0u) << shell;
  EXPECT_NE(shell.find(" s (measured), break height 5"), std::string::npos) << shell;
  EXPECT_NE(shell.find(" m (rule 60.0 m), spread "), std::string::npos) << shell;
  EXPECT_NE(r.Out.find("product: 201, \"Green comets, fan\", comet, prefire 0.40 s (typed; measured 0.00 s)"),
            std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("device: 204, no product row, prefire 0.00 s (measured), no break, spread "), std::string::npos)
      << r.Out;
  // Repeats: devices are prepared and measured seeded.
  EXPECT_EQ(Cli({"products", "--show", show.string()}).Out, r.Out);

  // Half the scale in metres halves every length.
  dir.Write("show/show.json", R"({"format":"orvane-show","version":1,"site":{"metres_per_unit":10}})");
  dir.Write("show/cues.csv", "time,code\n0,601\n");
  const CliRun half = Cli({"products", "--show", show.string()});
  ASSERT_EQ(half.Status, kExitDone) << half.Err;
  EXPECT_NE(Figure(half.Out, "product").find(" m (rule 60.0 m, OFF by -"), std::string::npos) << half.Out;
}

TEST_F(CliProductsTest, SummaryCountsStockCostPositionsAndBreaks) {
  const fs::path show = Show("time,code,position\n0,601,A\n3,201,B\n4,601,B\n10,204,\n");
  dir.Write("show/show.json", kSite);
  dir.Write("show/products.csv", kProducts);
  const CliRun r = Cli({"summary", "--show", show.string()});
  ASSERT_EQ(r.Status, kExitDone) << r.Err;
  EXPECT_EQ(Figure(r.Out, "cues"), "4");
  EXPECT_NE(r.Out.find("product: 601, \"Orange shell\", shell, 50 mm: 2 used, stock 1, SHORT by 1, cost 25.00\n"),
            std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("product: 201, \"Green comets, fan\", comet: 1 used, cost 3.00\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("product: 204, no product row: 1 used\n"), std::string::npos) << r.Out;
  EXPECT_EQ(Figure(r.Out, "cost"), "28.00 (1 products used without a price left out)");
  EXPECT_NE(r.Out.find("position: A: 1 cues\nposition: B: 2 cues\nposition: (none): 1 cues\n"), std::string::npos)
      << r.Out;
  EXPECT_NE(r.Out.find("calibre: 50 mm: 2 cues\ncalibre: (none): 2 cues\n"), std::string::npos) << r.Out;
  EXPECT_EQ(Figure(r.Out, "first break").rfind("0:01.", 0), 0u) << r.Out;  // the shell's lift
  EXPECT_EQ(Figure(r.Out, "last break"), "0:10.00");

  const CliRun csv = Cli({"summary", "--show", show.string(), "--csv"});
  ASSERT_EQ(csv.Status, kExitDone) << csv.Err;
  EXPECT_EQ(csv.Out.rfind("section,key,name,cues,stock,short,amount\nshow,cues,,4,,,\nshow,cost,,,,,28.00\n", 0), 0u)
      << csv.Out;
  EXPECT_NE(csv.Out.find("\nproduct,601,Orange shell,2,1,yes,25.00\n"), std::string::npos) << csv.Out;
  EXPECT_NE(csv.Out.find("\nproduct,201,\"Green comets, fan\",1,,,3.00\n"), std::string::npos) << csv.Out;
  EXPECT_NE(csv.Out.find("\nposition,,,1,,,\n"), std::string::npos) << csv.Out;
}

// Product names come from a file: a terminal never gets their control bytes, and a
// spreadsheet never takes one for a formula.
TEST_F(CliProductsTest, ProductNamesReachNeitherTerminalNorSpreadsheetRaw) {
  const fs::path show = Show("time,code\n0,601\n3,201\n");
  dir.Write("show/products.csv", "code,name,type\n601,\"\x1b]0;pwned\x07Shell\",shell\n201,=1+1,comet\n");
  for (const std::vector<std::string>& words :
       std::vector<std::vector<std::string>>{{"products", "--show", show.string()},
                                             {"summary", "--show", show.string()},
                                             {"summary", "--show", show.string(), "--csv"}}) {
    const CliRun r = Cli(words);
    ASSERT_EQ(r.Status, kExitDone) << r.Err;
    EXPECT_EQ(r.Out.find('\x1b'), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("\\x1b]0;pwned\\x07Shell"), std::string::npos) << r.Out;
  }
  const CliRun csv = Cli({"summary", "--show", show.string(), "--csv"});
  EXPECT_NE(csv.Out.find("\nproduct,201,'=1+1,1,"), std::string::npos) << csv.Out;
}

TEST_F(CliProductsTest, CompileExtentsAreInMetresWithEachCuesBreak) {
  const fs::path show = Show("time,code,label\n2,601,shell\n");
  const auto cueLine = [&](const char* site) {
    dir.Write("show/show.json", std::string(R"({"format":"orvane-show","version":1,"seed":3,"site":)") + site + "}");
    const CliRun r = Cli({"compile", "--show", show.string(), "-o", (dir.Path() / "s.dat").string()});
    EXPECT_EQ(r.Status, kExitDone) << r.Err;
    return Figure(r.Out, "cue");
  };
  const std::string at20 = cueLine(R"({"metres_per_unit":20})");
  const std::string at10 = cueLine(R"({"metres_per_unit":10,"ground_y":-2})");
  // "..., height 102.0 m, radius 92.0 m, lowest 0.0 m, break 3.920 s at 56.1 m, label ..."
  const auto number = [](const std::string& line, const std::string& after) {
    const size_t at = line.find(after);
    EXPECT_NE(at, std::string::npos) << line;
    return at == std::string::npos ? 0.0 : std::stod(line.substr(at + after.size()));
  };
  EXPECT_NEAR(number(at20, "height "), 2 * number(at10, "height "), 0.11) << at20 << "\n" << at10;
  EXPECT_NEAR(number(at20, " at "), 2 * number(at10, " at "), 0.11);
  // Heights above the ground at -2 units: falling stars end below it (nothing stops them).
  EXPECT_NEAR(number(at20, "lowest "), 2 * number(at10, "lowest "), 0.11);
  EXPECT_LT(number(at20, "lowest "), 0.0);
  EXPECT_GT(number(at20, "break "), 3.0);  // fired at 2 s, its lift takes about 2 s
  EXPECT_NE(at20.find(" m, break "), std::string::npos) << at20;
}

TEST_F(CliProductsTest, BadShowsAreRefusedWithTheirMessage) {
  const fs::path show = Show("time,code\n0,601\n");
  dir.Write("show/products.csv", "code,name\n601,a\n601,b\n");
  const CliRun dup = Cli({"summary", "--show", show.string()});
  EXPECT_EQ(dup.Status, kExitBadInput);
  EXPECT_EQ(dup.Err, "orvane-cli: products.csv line 3: code 601 has a product on line 2 already.\n");
  EXPECT_EQ(Cli({"products"}).Status, kExitBadInput);
}

}  // namespace
}  // namespace orvane::cli
