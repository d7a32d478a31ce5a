// "Export video..." in the show window: a real orvane-cli child drawing a short show with
// its progress in the dialog, and a cancelled export that leaves nothing behind.

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <cmath>

#include "main_form_desk.h"
#include "media/video_reader.h"
#include "support/failure_text.h"
#include "ui/show_video_export.h"
#include "ui/show_window.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using testing::Desk;
using testing::FailureText;
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

  const auto read_facts = ReadVideoFacts(d.Video().string());
  ASSERT_TRUE(read_facts) << read_facts.Message() << " (the music is found from the temporary save)";
  const VideoFileFacts& facts = read_facts.Value();
  ASSERT_TRUE(facts.Video && facts.Audio);
  EXPECT_EQ(facts.Video->Width, 96);
  EXPECT_GT(facts.Video->Packets, 10);
  EXPECT_NEAR(facts.Audio->Seconds, facts.Video->Seconds, 1 / 25.0);
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

// orvane-cli as another process, as a user runs it; its exit status.
int RunCli(const QStringList& words) {
  QProcess cli;
  cli.start(QStringLiteral(ORVANE_CLI), words);
  if (!cli.waitForFinished(kExportWaitMs)) return -1;
  EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
  if (cli.exitCode() != 0) ADD_FAILURE() << cli.readAllStandardError().toStdString();
  return cli.exitCode();
}

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

// What the user approves in the window is what the command line and the video give.
TEST(ShowExport, TheWindowsCompileTheCommandLinesAndTheVideosShowAreTheSame) {
  ExportDesk d("0.0,104,0,1.5,0,a\n0.5,204,1,1.5,0,b\n");
  ASSERT_NE(d.Window, nullptr);
  d.Window->CompileAct->trigger();
  ASSERT_TRUE(d.Form.Execution().Compiling());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !d.Form.Execution().Compiling(); }, kExportWaitMs));
  const fs::path windowFile = d.Scratch.Path() / "window.dat";
  fs::copy_file(d.Form.ShowFilePath(), windowFile);

  ASSERT_EQ(RunCli({"compile", "--show", Q(d.Folder), "-o", Q(d.Scratch.Path() / "cli.dat")}), 0);
  EXPECT_EQ(testing::ReadFileBytes(windowFile), testing::ReadFileBytes(d.Scratch.Path() / "cli.dat"))
      << "no --seed: both compile at the show's own seed";

  // The video's frame against render's picture of the window's file, a burst under way.
  constexpr int kFrame = 12;
  const QStringList drawing = {"--size", "160x120", "--camera", "180,6,0,0.3,11", "--scenery", "none"};
  // The classic look, as render draws by default.
  ASSERT_EQ(RunCli(QStringList{"video", "--show", Q(d.Folder), "--look", "classic", "-o", Q(d.Video())} + drawing), 0);
  ASSERT_EQ(
      RunCli(QStringList{"render", Q(windowFile), "-o", Q(d.Scratch.Path()), "--frames", QString::number(kFrame)} +
             drawing),
      0);
  const QImage drawn =
      QImage(Q(d.Scratch.Path() / QStringLiteral("frame_%1.png").arg(kFrame, 5, 10, QLatin1Char('0')).toStdString()))
          .convertToFormat(QImage::Format_RGB888);
  ASSERT_FALSE(drawn.isNull());
  const auto psnr = [&](int64_t frame) {
    const auto picture = DecodeVideoFrame(d.Video().string(), frame);
    const std::vector<uint8_t> decoded = picture.ValueOr({});
    EXPECT_EQ(decoded.size(), static_cast<size_t>(drawn.width() * drawn.height() * 3)) << FailureText(picture);
    double sum = 0;
    for (int y = 0; y < drawn.height(); ++y) {
      const uchar* row = drawn.constScanLine(y);
      for (int x = 0; x < drawn.width() * 3; ++x) {
        const size_t i = static_cast<size_t>(y * drawn.width() * 3 + x);
        if (i < decoded.size()) sum += std::pow(static_cast<double>(decoded[i]) - row[x], 2);
      }
    }
    const double mse = sum / (drawn.width() * drawn.height() * 3.0);
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
  };
  const double same = psnr(kFrame);
  EXPECT_GT(same, 30.0) << "the codec's error only (37.6 dB measured; another frame 22 dB)";
  EXPECT_LT(psnr(kFrame + 10), same - 3) << "another frame of the show does not match";
}

}  // namespace
}  // namespace orvane
