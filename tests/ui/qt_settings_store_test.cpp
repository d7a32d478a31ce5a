// The settings file: values come back as written, and a file that is damaged, or is not a
// settings file at all, gives the defaults and is never read blindly or replaced.

#include "ui/qt_settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/test_paths.h"

namespace orvane {
namespace {

using orvane::testing::ScratchDir;

QString File(const ScratchDir& dir) { return QString::fromStdString((dir.Path() / "orvane.conf").string()); }

TEST(QtSettingsStore, ValuesComeBackFromTheFileAsWritten) {
  ScratchDir dir;
  const std::string bytes("\x01\xd9\xd0\xcb\x00\x03\xff", 7);
  {
    QtSettingsStore store(File(dir));
    store.Write("ShowWindow/Geometry", bytes);
    store.Write("ShowWindow/RecentShows", "/shows/été\n/shows/b");
    store.Write("VideoExport/Size", "1280x720");
  }
  const QtSettingsStore store(File(dir));
  EXPECT_EQ(store.Read("ShowWindow/Geometry"), bytes);
  EXPECT_EQ(store.Read("ShowWindow/RecentShows"), "/shows/été\n/shows/b");
  EXPECT_EQ(store.Read("VideoExport/Size"), "1280x720");
  EXPECT_EQ(store.Read("VideoExport/Folder"), std::nullopt);
  // Plain values stay readable in the file.
  EXPECT_NE(orvane::testing::ReadFileBytes(dir.Path() / "orvane.conf").find("Size=1280x720"), std::string::npos);
}

TEST(QtSettingsStore, ADamagedFileGivesTheDefaults) {
  const std::string damaged[] = {
      std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18),
      "[ShowWindow]\nTimelineZoom=@ByteArray(\nGeometry=@Variant(\\0\\0\\0\\x7f\nRecentShows=relative/path\n"
      "[VideoExport]\nSize=banana\nFolder=\n",
  };
  for (const std::string& content : damaged) {
    ScratchDir dir;
    dir.Write("orvane.conf", content);
    const QtSettingsStore store(File(dir));
    const UserSettings loaded = LoadUserSettings(store);
    EXPECT_FALSE(loaded.TimelineZoom);
    EXPECT_EQ(loaded.RecentShows, UserSettings{}.RecentShows);
    EXPECT_EQ(loaded.ExportSize, UserSettings{}.ExportSize);
    EXPECT_EQ(loaded.ExportFolder, UserSettings{}.ExportFolder);
  }
}

TEST(QtSettingsStore, WhatIsNoSettingsFileIsNeitherReadNorReplaced) {
  ScratchDir dir;
  const std::filesystem::path path = dir.Path() / "orvane.conf";
  const struct {
    const char* Name;
    std::function<void()> Make;
    std::function<bool()> Unchanged;
  } cases[] = {
      {"a pipe", [&] { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }, [&] { return std::filesystem::is_fifo(path); }},
      {"a folder", [&] { std::filesystem::create_directory(path); },
       [&] { return std::filesystem::is_directory(path); }},
      {"a huge file",
       [&] {
         std::ofstream(path).put('x');
         std::filesystem::resize_file(path, 64u << 20);
       },
       [&] { return std::filesystem::file_size(path) == (64u << 20); }},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(path);
    c.Make();
    {
      QtSettingsStore store(QString::fromStdString(path.string()));  // a pipe would block a blind read here
      EXPECT_EQ(store.Read("ShowWindow/TimelineZoom"), std::nullopt) << c.Name;
      store.Write("ShowWindow/TimelineZoom", "80");
      store.Flush();
    }
    EXPECT_TRUE(c.Unchanged()) << c.Name;
  }
}

TEST(QtSettingsStore, TheDefaultFileIsInTheConfigFolder) {
  ScratchDir dir;
  const bool had = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
  const QByteArray old = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.Path().string()));
  EXPECT_EQ(DefaultSettingsFile(), QString::fromStdString((dir.Path() / "orvane" / "orvane.conf").string()));
  if (had) {
    qputenv("XDG_CONFIG_HOME", old);
  } else {
    qunsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
}  // namespace orvane
