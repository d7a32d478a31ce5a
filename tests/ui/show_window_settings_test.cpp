// The show window comes back as it was left: size, split, zoom and recent shows; a damaged
// settings file gives the defaults without a word.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSplitter>
#include <QTest>
#include <QWheelEvent>

#include "main_form_desk.h"
#include "model/timeline_view.h"
#include "ui/qt_settings_store.h"
#include "ui/show_window.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::Desk;
using testing::ProcessEvents;
using testing::ScratchDir;

// A show window as the program makes it, on the settings file `file`.
struct SettingsDesk : Desk {
  explicit SettingsDesk(const fs::path& file) : Store(QString::fromStdString(file.string())) {
    Window = std::make_unique<ShowWindow>(Project, Form, Dialogs);
    Window->UseSettings(Store);
    Window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    ProcessEvents();
  }
  ShowWindow& W() { return *Window; }
  double Zoom() const { return Window->Strip()->View().PixelsPerSecond; }
  QStringList RecentEntries() const {
    QStringList entries;
    for (QAction* a : Window->RecentMenu()->actions())
      if (!a->isSeparator() && a != Window->ClearRecentAct) entries << a->text();
    return entries;
  }
  void WheelOnStrip(int notches) {
    TimelineStrip* strip = Window->Strip();
    const QPointF at(strip->width() / 2.0, strip->height() / 2.0);
    QWheelEvent wheel(at, strip->mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(strip, &wheel);
  }

  QtSettingsStore Store;
  std::unique_ptr<ShowWindow> Window;  // goes before the store it writes to
};

fs::path CopyExample(const ScratchDir& dir, const std::string& name) {
  const fs::path folder = dir.Path() / name;
  fs::copy(ORVANE_EXAMPLE_SHOW, folder, fs::copy_options::recursive);
  return folder;
}

TEST(ShowWindowSettings, SizeSplitZoomAndRecentShowsComeBackAfterAClose) {
  ScratchDir dir;
  const fs::path file = dir.Path() / "orvane.conf";
  const fs::path show = CopyExample(dir, "harbour-night");
  QList<int> split;
  double zoom = 0;
  {
    SettingsDesk d(file);
    EXPECT_EQ(d.W().size(), QSize(900, 560));  // nothing remembered yet
    EXPECT_FALSE(d.W().RecentMenu()->isEnabled());
    ASSERT_TRUE(d.W().OpenFolder(show));
    d.W().resize(1010, 690);  // Xvfb has no window manager: the size is the one asked for
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.W().size() == QSize(1010, 690); }));
    const int total = d.W().Splitter()->sizes().value(0) + d.W().Splitter()->sizes().value(1);
    d.W().Splitter()->setSizes({total / 3, total - total / 3});
    const double fitted = d.Zoom();
    d.WheelOnStrip(3);
    ProcessEvents();
    ASSERT_NE(d.Zoom(), fitted);
    split = d.W().Splitter()->sizes();
    zoom = d.Zoom();
    EXPECT_TRUE(d.W().close());
  }
  {
    SettingsDesk d(file);
    EXPECT_EQ(d.W().size(), QSize(1010, 690));
    EXPECT_EQ(d.W().Splitter()->sizes(), split);
    EXPECT_DOUBLE_EQ(d.Zoom(), zoom);
    ASSERT_EQ(d.RecentEntries(), QStringList{QString::fromStdString(show.string())});
    // Reopening the show from the menu keeps the zoom the user chose instead of fitting it.
    d.W().RecentMenu()->actions().front()->trigger();
    EXPECT_EQ(d.W().Folder(), show);
    EXPECT_DOUBLE_EQ(d.Zoom(), zoom);
    EXPECT_TRUE(d.Dialogs.Messages.empty());
    d.Project.Close();
  }
}

TEST(ShowWindowSettings, ADamagedFileGivesTheDefaultsWithoutAMessage) {
  ScratchDir dir;
  constexpr char kDamaged[] =
      "[ShowWindow]\nGeometry=@ByteArray(\x01\xd9\xd0\xcb"
      "\nTimelineZoom=-7\nRecentShows=\0\xff\n[[[";
  const fs::path file = dir.Write("orvane.conf", std::string(kDamaged, sizeof kDamaged - 1));
  {
    SettingsDesk d(file);
    EXPECT_TRUE(d.Dialogs.Messages.empty());
    EXPECT_EQ(d.W().size(), QSize(900, 560));
    EXPECT_DOUBLE_EQ(d.Zoom(), kTimelineDefaultZoom);
    EXPECT_TRUE(d.RecentEntries().isEmpty());
    EXPECT_TRUE(d.W().close());
    EXPECT_TRUE(d.Dialogs.Messages.empty());
  }
  // Closing wrote a sound file in its place.
  const QtSettingsStore again(QString::fromStdString(file.string()));
  EXPECT_EQ(LoadUserSettings(again).TimelineZoom, kTimelineDefaultZoom);
}

TEST(ShowWindowSettings, AShowThatIsGoneLeavesTheRecentList) {
  ScratchDir dir;
  const fs::path file = dir.Path() / "orvane.conf";
  const fs::path kept = CopyExample(dir, "kept");
  const fs::path gone = dir.Path() / "gone";
  {
    QtSettingsStore store(QString::fromStdString(file.string()));
    UserSettings s;
    s.RecentShows = {gone, kept};
    SaveUserSettings(s, store);
  }
  SettingsDesk d(file);
  ASSERT_EQ(d.RecentEntries().size(), 2);
  d.W().RecentMenu()->actions().front()->trigger();
  EXPECT_EQ(d.Dialogs.Messages.size(), 1u);  // why it did not open
  EXPECT_EQ(d.RecentEntries(), QStringList{QString::fromStdString(kept.string())});
  EXPECT_EQ(LoadUserSettings(d.Store).RecentShows, std::vector<fs::path>{kept});
  d.W().ClearRecentAct->trigger();
  EXPECT_FALSE(d.W().RecentMenu()->isEnabled());
  EXPECT_TRUE(LoadUserSettings(d.Store).RecentShows.empty());
}

TEST(ShowWindowSettings, TheLastExportSizeIsOfferedFirst) {
  ScratchDir dir;
  const fs::path file = dir.Path() / "orvane.conf";
  {
    QtSettingsStore store(QString::fromStdString(file.string()));
    UserSettings s;
    s.ExportSize = VideoSize{640, 480};
    SaveUserSettings(s, store);
  }
  SettingsDesk d(file);
  std::vector<VideoSize> offered;
  d.W().SetVideoChooser([&](const std::vector<VideoSize>& sizes) -> std::optional<ShowWindow::VideoChoice> {
    offered = sizes;
    return std::nullopt;
  });
  d.W().VideoAct->trigger();
  ASSERT_FALSE(offered.empty());
  EXPECT_EQ(offered.front(), (VideoSize{640, 480}));
}

}  // namespace
}  // namespace orvane
