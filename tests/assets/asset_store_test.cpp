#include "assets/asset_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "assets/asset_files.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

using namespace orvane::testing;

const uint8_t kBytes[] = {1, 2, 3, 0, 5};

AssetStore SmallStore() {
  return AssetStore({{"BINARY", "ARC", {kBytes, sizeof kBytes}},
                     {"BMP", "PARTICLE", {kBytes, 2}},
                     {"BINARY", "STALE", {kBytes, 1}, false}});
}

TEST(AssetStore, FindsByTypeAndNameIgnoringCase) {
  const AssetStore store = SmallStore();
  const AssetLookup found = store.Find("binary", "arc");
  ASSERT_EQ(found.Status, AssetLookupStatus::Found);
  EXPECT_EQ(found.Bytes.size(), 5u);
  EXPECT_EQ(store.Find("Bmp", "Particle").Bytes.size(), 2u);
  EXPECT_EQ(store.Find("BMP", "ARC").Status, AssetLookupStatus::NotFound);
  EXPECT_EQ(store.Find("BINARY", "").Status, AssetLookupStatus::NotFound);
  EXPECT_EQ(store.Find("BINARY", "STALE").Status, AssetLookupStatus::Unreadable);
}

TEST(AssetStore, EveryAssetFileAndTheSpriteAreEmbedded) {
  for (std::string_view file : AssetFiles) {
    const AssetLookup found = EmbeddedAssets().Find("BINARY", ResourceNameOf(file));
    ASSERT_EQ(found.Status, AssetLookupStatus::Found) << file;
    EXPECT_GT(found.Bytes.size(), 1000u) << file;
  }
  EXPECT_EQ(EmbeddedAssets().Find("BMP", "particle").Status, AssetLookupStatus::Found);
  EXPECT_EQ(ResourceNameOf("stucco4.jpg"), "stucco4");
  EXPECT_EQ(AssetFiles.front(), "arc.3ds");
  EXPECT_EQ(AssetFiles.back(), "yellobrk.jpg");
}

TEST(ExtractResource, WritesTheBytesWholeAndReplacesAnyFile) {
  ScratchDir dir;
  const std::string target = dir.Folder() + "arc.3ds";
  dir.Write("arc.3ds", std::string(100, 'x'));
  ExtractResource(SmallStore(), "BINARY", "arc", target);
  EXPECT_EQ(ReadFileBytes(target), std::string("\x01\x02\x03\x00\x05", 5));
}

TEST(ExtractResource, ReportsMissingAndUnreadableEntriesAndUnwritableTargets) {
  ScratchDir dir;
  const AssetStore store = SmallStore();
  EXPECT_THROW(ExtractResource(store, "BINARY", "NONE", dir.Folder() + "a"), AssetError);
  EXPECT_THROW(ExtractResource(store, "BINARY", "STALE", dir.Folder() + "b"), AssetError);
  try {
    ExtractResource(store, "BINARY", "ARC", dir.Folder() + "no/such/folder/arc.3ds");
    FAIL() << "no error for an unwritable target";
  } catch (const AssetError& e) {
    EXPECT_NE(std::string(e.what()).find("no/such/folder/arc.3ds"), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "a"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "b"));
}

TEST(ExtractResource, APlantedLinkIsReplacedNotWrittenThrough) {
  ScratchDir dir;
  const auto victim = dir.Write("victim.txt", "precious");
  std::filesystem::create_symlink(victim, dir.Path() / "arc.3ds");
  ExtractResource(SmallStore(), "BINARY", "arc", dir.Folder() + "arc.3ds");
  EXPECT_EQ(ReadFileBytes(victim), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink(dir.Path() / "arc.3ds"));
  EXPECT_EQ(ReadFileBytes(dir.Path() / "arc.3ds"), std::string("\x01\x02\x03\x00\x05", 5));
}

}  // namespace
}  // namespace orvane
