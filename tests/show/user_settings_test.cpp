#include "show/user_settings.h"

#include <gtest/gtest.h>

#include "model/timeline_view.h"

namespace orvane {
namespace {

using MapStore = MemorySettingsStore;

UserSettings Chosen() {
  UserSettings s;
  s.WindowGeometry = std::string("\x01\xd9\xd0\xcb\x00\x03", 6) + "geometry";
  s.WindowState = "state";
  s.SplitterState = std::string("\0\0\0\xff", 4);
  s.TimelineZoom = 123.456;
  s.RecentShows = {"/home/ana/shows/harbour", "/home/ana/shows/new year"};
  s.ExportSize = VideoSize{1920, 1080};
  s.ExportFolder = "/home/ana/videos";
  return s;
}

TEST(UserSettings, AnEmptyStoreGivesTheDefaults) {
  const UserSettings s = LoadUserSettings(MapStore{});
  EXPECT_EQ(s, UserSettings{});
  EXPECT_FALSE(s.TimelineZoom);
  EXPECT_TRUE(s.RecentShows.empty());
  EXPECT_FALSE(s.ExportSize);
}

TEST(UserSettings, WhatIsSavedLoadsBackTheSame) {
  MapStore store;
  SaveUserSettings(Chosen(), store);
  EXPECT_EQ(LoadUserSettings(store), Chosen());
  SaveUserSettings(UserSettings{}, store);  // a default overwrites, it does not keep the old value
  EXPECT_EQ(LoadUserSettings(store), UserSettings{});
}

TEST(UserSettings, DamagedValuesFallBackToTheirDefaultsOneByOne) {
  MapStore good;
  SaveUserSettings(Chosen(), good);
  const struct {
    const char* Key;
    std::string Value;
  } cases[] = {
      {"ShowWindow/TimelineZoom", "fast"},   {"ShowWindow/TimelineZoom", "40abc"},
      {"ShowWindow/TimelineZoom", "nan"},    {"ShowWindow/TimelineZoom", "inf"},
      {"ShowWindow/TimelineZoom", "1e400"},  {"ShowWindow/TimelineZoom", "1"},   // below the least zoom
      {"ShowWindow/TimelineZoom", "5000"},                                       // above the most
      {"ShowWindow/TimelineZoom", ""},       {"VideoExport/Size", "1921x1080"},  // odd
      {"VideoExport/Size", "8x8"},                                               // too small
      {"VideoExport/Size", "8192x4096"},                                         // too large
      {"VideoExport/Size", "-1280x720"},     {"VideoExport/Size", "1280x"},
      {"VideoExport/Size", "99999999999x2"}, {"VideoExport/Folder", "videos"},  // relative
      {"VideoExport/Folder", "/a\nb"},       {"ShowWindow/Geometry", std::string(kMaxLayoutBytes + 1, 'g')},
  };
  for (const auto& c : cases) {
    MapStore store = good;
    store.Values[c.Key] = c.Value;
    const UserSettings loaded = LoadUserSettings(store);
    UserSettings expected = Chosen();
    const std::string key = c.Key;
    if (key == "ShowWindow/TimelineZoom") expected.TimelineZoom.reset();
    if (key == "VideoExport/Size") expected.ExportSize.reset();
    if (key == "VideoExport/Folder") expected.ExportFolder.clear();
    if (key == "ShowWindow/Geometry") expected.WindowGeometry.clear();
    EXPECT_EQ(loaded, expected) << c.Key << " = " << c.Value.substr(0, 20);
  }
}

TEST(UserSettings, RecentShowsKeepOnlyUsableFolders) {
  MapStore store;
  store.Values["ShowWindow/RecentShows"] = "/a/one\nrelative\n\n/a/two/../two\n/a/one/\n/a/\tthree\n/a/four";
  EXPECT_EQ(LoadUserSettings(store).RecentShows, (std::vector<std::filesystem::path>{"/a/one", "/a/two", "/a/four"}));
  std::string many;
  for (int i = 0; i < 30; ++i) many += "/shows/" + std::to_string(i) + "\n";
  store.Values["ShowWindow/RecentShows"] = many;
  EXPECT_EQ(LoadUserSettings(store).RecentShows.size(), kMaxRecentShows);
  // A folder whose name a line cannot hold is left out when saving, not stored broken.
  UserSettings s;
  s.RecentShows = {"/ok", "/new\nline"};
  SaveUserSettings(s, store);
  EXPECT_EQ(LoadUserSettings(store).RecentShows, (std::vector<std::filesystem::path>{"/ok"}));
}

TEST(UserSettings, OpeningAShowPutsItFirstOnce) {
  std::vector<std::filesystem::path> recent = {"/s/a", "/s/b", "/s/c"};
  AddRecentShow(recent, "/s/c/");
  EXPECT_EQ(recent, (std::vector<std::filesystem::path>{"/s/c", "/s/a", "/s/b"}));
  AddRecentShow(recent, "/s/b/../b");
  EXPECT_EQ(recent.front(), std::filesystem::path("/s/b"));
  EXPECT_EQ(recent.size(), 3u);
  for (int i = 0; i < 20; ++i) AddRecentShow(recent, "/s/n" + std::to_string(i));
  EXPECT_EQ(recent.size(), kMaxRecentShows);
  EXPECT_EQ(recent.front(), std::filesystem::path("/s/n19"));
  RemoveRecentShow(recent, "/s/n19/");
  EXPECT_EQ(recent.front(), std::filesystem::path("/s/n18"));
}

TEST(UserSettings, TheShowsOrElseTheUsersLastExportSizeIsOfferedFirst) {
  const std::vector<VideoSize> offered = {{800, 600}, {1280, 720}, {1920, 1080}};
  using Sizes = std::vector<VideoSize>;
  const std::optional<VideoSize> none;
  const struct {
    std::optional<VideoSize> Show, User;
    Sizes Expected;
  } cases[] = {
      {none, none, offered},
      {none, VideoSize{1920, 1080}, Sizes{{1920, 1080}, {800, 600}, {1280, 720}}},
      {VideoSize{1280, 720}, VideoSize{1920, 1080}, Sizes{{1280, 720}, {800, 600}, {1920, 1080}}},
      {none, VideoSize{640, 480}, Sizes{{640, 480}, {800, 600}, {1280, 720}, {1920, 1080}}},
      {VideoSize{0, 0}, VideoSize{1920, 1080}, Sizes{{1920, 1080}, {800, 600}, {1280, 720}}},  // the show has none
  };
  for (const auto& c : cases) EXPECT_EQ(VideoSizesToOffer(offered, c.Show, c.User), c.Expected);
  EXPECT_EQ(ReadVideoSize(VideoSizeText({1280, 720})), (VideoSize{1280, 720}));
}

}  // namespace
}  // namespace orvane
