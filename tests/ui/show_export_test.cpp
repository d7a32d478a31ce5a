// "Export video..." in the show window: a real orvane-cli child drawing a short show with
// its progress in the dialog, and a cancelled export that leaves nothing behind.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "main_form_desk.h"
#include "media/video_reader.h"
#include "ui/show_video_export.h"
#include "ui/show_window.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::Desk;
using testing::ProcessEvents;

// A compile and an export on a loaded 2-core machine.
constexpr int kExportWaitMs = 600000;

struct ExportDesk : Desk {
  // The example show, cut to the given cue lines, opened in the show window.
  explicit ExportDesk(const std::string& cueLines) {
    Folder = Scratch.Path() / "harbour-night";
    fs::copy(ORVANE_EXAMPLE_SHOW, Folder, fs::copy_options::recursive);
    if (!cueLines.empty()) Scratch.Write("harbour-night/cues.csv", "time,code,x,y,z,label\n" + cueLines);
    fs::create_directory(Scratch.Path() / "videos");
    Shows = std::make_unique<ShowWindow>(Project, Form, Dialogs);
    Window = Shows.get();
    Window->show();
    EXPECT_TRUE(Window->OpenFolder(Folder));
    Window->SetCliProgram(ORVANE_CLI);
    ProcessEvents();
  }
  ~ExportDesk() { Project.Close(); }
  fs::path Video() const { return Scratch.Path() / "videos" / "show.mp4"; }
  bool WaitForEnd() {
    return QTest::qWaitFor([this] { return !Window->VideoExport()->Running(); }, kExportWaitMs);
  }

  fs::path Folder;
  std::unique_ptr<ShowWindow> Shows;
  ShowWindow* Window = nullptr;
};

TEST(ShowExport, ExportsTheEditedShowWithItsMusicAndProgress) {
  ExportDesk d("0.0,104,0,1.5,0,a\n0.5,104,1,1.5,0,b\n");
  ASSERT_NE(d.Window, nullptr);
  d.Window->SetCueField(1, CueField::Time, "0.4");
  ASSERT_TRUE(d.Window->Modified()) << "the edit goes to the child through a temporary save";

  std::vector<VideoSize> offered;
  d.Window->SetVideoChooser([&](const std::vector<VideoSize>& sizes) {
    offered = sizes;
    return ShowWindow::VideoChoice{d.Video(), {96, 64}};
  });
  d.Window->VideoAct->trigger();
  ASSERT_TRUE(d.Window->VideoExport()->Running());
  QWidget* panel = d.Window->VideoExport()->Panel();
  QProgressBar* progress = d.Window->VideoExport()->ProgressBar();
  EXPECT_TRUE(panel->isVisible());
  // The window stays usable while the export runs: an edit goes through.
  d.Window->SetTitle("Edited while exporting");
  EXPECT_EQ(d.Project.Title(), "Edited while exporting");
  ASSERT_TRUE(d.WaitForEnd());
  ProcessEvents();
  EXPECT_NE(std::find(offered.begin(), offered.end(), VideoSize{1280, 720}), offered.end());
  EXPECT_NE(std::find(offered.begin(), offered.end(), VideoSize{1920, 1080}), offered.end());
  EXPECT_TRUE(d.Dialogs.Messages.empty()) << d.Dialogs.Messages.front().Text;
  EXPECT_TRUE(d.Window->StatusText().startsWith("Video written to")) << d.Window->StatusText().toStdString();
  EXPECT_EQ(progress->value(), 100) << "the last frame line reached the panel";
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(d.Project.Settings().VideoWidth, 96) << "the size is remembered";

  std::string error;
  const auto facts = ReadVideoFacts(d.Video().string(), error);
  ASSERT_TRUE(facts && facts->Video && facts->Audio) << error << " (the music is found from the temporary save)";
  EXPECT_EQ(facts->Video->Width, 96);
  EXPECT_GT(facts->Video->Packets, 10);
  EXPECT_NEAR(facts->Audio->Seconds, facts->Video->Seconds, 1 / 25.0);
}

TEST(ShowExport, CancelStopsTheChildAndLeavesNoFile) {
  ExportDesk d("");
  ASSERT_NE(d.Window, nullptr);
  ASSERT_FALSE(d.Window->Modified());
  d.Window->SetVideoChooser([&](const std::vector<VideoSize>& sizes) {
    return ShowWindow::VideoChoice{d.Video(), sizes.back()};
  });
  d.Window->VideoAct->trigger();
  ASSERT_TRUE(d.Window->VideoExport()->Running());
  QWidget* panel = d.Window->VideoExport()->Panel();
  QLabel* label = d.Window->VideoExport()->ProgressLabel();
  const qint64 child = d.Window->VideoExport()->ChildPid();
  ASSERT_GT(child, 0);
  // Cancelled once the first frames are under way.
  ASSERT_TRUE(QTest::qWaitFor([&] { return label->text().startsWith("Video: frame"); }, kExportWaitMs))
      << label->text().toStdString();
  QTest::mouseClick(d.Window->VideoExport()->CancelButton(), Qt::LeftButton);
  ASSERT_TRUE(d.WaitForEnd());
  ProcessEvents();
  EXPECT_TRUE(d.Dialogs.Messages.empty()) << "a cancel is no failure";
  EXPECT_FALSE(panel->isVisible());
  EXPECT_TRUE(d.Window->StatusText().startsWith("Video export cancelled")) << d.Window->StatusText().toStdString();
  EXPECT_TRUE(fs::is_empty(d.Scratch.Path() / "videos")) << "no video, no temporary";
  EXPECT_FALSE(fs::exists(fs::temp_directory_path() / ("orvane-video-" + std::to_string(child) + ".dat")))
      << "the child removed its compiled show";
}

}  // namespace
}  // namespace orvane
