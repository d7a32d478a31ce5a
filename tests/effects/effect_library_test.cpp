// The generated shelf as files: written together, compared file by file, stale device
// files removed and nothing else touched.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "effects/effect_library.h"
#include "show/product_list.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::ScratchDir;

ShelfContent SmallShelf() {
  ShelfContent shelf;
  shelf.Files = {{"1000.odev", "lift\n"}, {"1001.osub", "burst\n"}, {"products.csv", "code,name\n1000,x\n"}};
  shelf.Products = 1;
  return shelf;
}

TEST(EffectLibrary, AWrittenShelfIsExactlyTheShelf) {
  ScratchDir dir;
  const fs::path folder = dir.Path() / "library" / "generated";
  ASSERT_TRUE(WriteShelf(folder, SmallShelf()).Ok());
  EXPECT_TRUE(ShelfDifferences(folder, SmallShelf()).empty());
  EXPECT_EQ(ReadFileBytes(folder / "1001.osub"), "burst\n");
}

TEST(EffectLibrary, DifferencesNameEachFileAndRewritingMendsThem) {
  ScratchDir dir;
  const fs::path folder = dir.Path();
  ASSERT_TRUE(WriteShelf(folder, SmallShelf()).Ok());
  dir.Write("1001.osub", "edited by hand\n");
  fs::remove(folder / "products.csv");
  dir.Write("1002.odev", "left over\n");
  dir.Write("notes.txt", "the user's own\n");
  std::vector<std::string> differences = ShelfDifferences(folder, SmallShelf());
  std::sort(differences.begin(), differences.end());
  EXPECT_EQ(differences,
            (std::vector<std::string>{"1001.osub differs", "1002.odev is not generated", "products.csv is missing"}));
  ASSERT_TRUE(WriteShelf(folder, SmallShelf()).Ok());
  EXPECT_TRUE(ShelfDifferences(folder, SmallShelf()).empty());
  EXPECT_FALSE(fs::exists(folder / "1002.odev")) << "a device the shelf no longer has goes";
  EXPECT_EQ(ReadFileBytes(folder / "notes.txt"), "the user's own\n") << "anything else stays";
}

TEST(EffectLibrary, AShelfThatCannotBeWrittenIsAFailure) {
  ScratchDir dir;
  dir.Write("generated", "a file where the folder should be");
  const Result<> written = WriteShelf(dir.Path() / "generated", SmallShelf());
  ASSERT_FALSE(written.Ok());
  EXPECT_NE(written.Message().find("cannot be made"), std::string::npos) << written.Message();
  EXPECT_EQ(ReadFileBytes(dir.Path() / "generated"), "a file where the folder should be");
  EXPECT_FALSE(ShelfDifferences(dir.Path() / "none", SmallShelf()).empty());
}

TEST(EffectLibrary, TheGeneratedShelfHasDevicesAndARowForEveryProduct) {
  const Result<ShelfContent> shelf = BuildGeneratedShelf();
  ASSERT_TRUE(shelf.Ok()) << shelf.Message();
  EXPECT_EQ(shelf.Value().Products, GeneratedCatalogue().size());
  const FileContent& products = shelf.Value().Files.back();
  ASSERT_EQ(products.Name, "products.csv");
  EXPECT_EQ(products.Bytes.rfind("code,name,type,calibre_mm,shots,duration_s,prefire_s,colours,maker,part_number,price,"
                                 "stock\n",
                                 0),
            0u);
  EXPECT_NE(products.Bytes.find("\n1000,50mm red peony,shell,50,,"), std::string::npos) << products.Bytes;
  EXPECT_NE(products.Bytes.find(",30mm red and green peony cake 10 shots,cake,30,10,"), std::string::npos);
  EXPECT_NE(products.Bytes.find(",red+green,Orvane,,,\n"), std::string::npos);
  size_t rows = 0;
  for (char c : products.Bytes) rows += c == '\n' ? 1 : 0;
  EXPECT_EQ(rows, shelf.Value().Products + 1);
  // Every row's code has its device file.
  std::set<std::string> names;
  for (const FileContent& f : shelf.Value().Files) names.insert(f.Name);
  std::istringstream lines(products.Bytes);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) EXPECT_TRUE(names.count(line.substr(0, line.find(',')) + ".odev")) << line;

  // Products that break carry their prefire, earlier than their end and later for a larger
  // shell; effects from the ground leave it empty, or 0 when they fire several devices.
  const Result<ProductTable> table = ReadProducts(products.Bytes, "products.csv", nullptr);
  ASSERT_TRUE(table) << table.Message();
  std::map<double, int64_t> shellPrefires;
  for (const Product& p : table.Value().Rows) {
    const bool breaks = p.Type == ProductType::kShell || p.Type == ProductType::kCake;
    if (!breaks) {
      EXPECT_EQ(p.PrefireMs.value_or(0), 0) << p.Name;
      continue;
    }
    ASSERT_TRUE(p.PrefireMs) << p.Name;
    EXPECT_GT(*p.PrefireMs, 0) << p.Name;
    EXPECT_LT(*p.PrefireMs, *p.DurationS * 1000) << p.Name;
    if (p.Name.find("red peony") != std::string::npos && p.Type == ProductType::kShell)
      shellPrefires[*p.CalibreMm] = *p.PrefireMs;
  }
  ASSERT_GE(shellPrefires.size(), 5u);
  for (auto it = std::next(shellPrefires.begin()); it != shellPrefires.end(); ++it)
    EXPECT_GT(it->second, std::prev(it)->second) << it->first << " mm breaks no later than a smaller shell";
}

}  // namespace
}  // namespace orvane
