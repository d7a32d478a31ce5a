#include "media/music_analysis.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <optional>

#include "audio_fixtures.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

// Collects the reports of the worker thread; Wait blocks until the result is in.
class RecordingListener : public MusicAnalysisListener {
 public:
  void MusicProgress(double fraction) override {
    std::unique_lock lock(mutex_);
    progress_.push_back(fraction);
    changed_.notify_all();
    // Holds the worker at its first report while the test wants it held.
    changed_.wait(lock, [this] { return !holdAtFirstReport_; });
  }
  void MusicAnalysed(MusicAnalysis analysis) override {
    std::lock_guard lock(mutex_);
    ++results_;
    analysis_ = std::move(analysis);
    changed_.notify_all();
  }

  MusicAnalysis Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return analysis_.has_value(); });
    return *analysis_;
  }
  void Hold() { holdAtFirstReport_ = true; }
  // Also returns when the job ended without any report (a file that failed to decode), so
  // such a fault fails the test instead of hanging it.
  void WaitForFirstReport() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !progress_.empty() || analysis_.has_value(); });
  }
  void Release() {
    std::lock_guard lock(mutex_);
    holdAtFirstReport_ = false;
    changed_.notify_all();
  }
  std::vector<double> Progress() {
    std::lock_guard lock(mutex_);
    return progress_;
  }
  int Results() {
    std::lock_guard lock(mutex_);
    return results_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<double> progress_;
  std::optional<MusicAnalysis> analysis_;
  int results_ = 0;
  bool holdAtFirstReport_ = false;
};

std::filesystem::path ClickFile(const testing::ScratchDir& dir) {
  const auto path = dir.Path() / "clicks.wav";
  testing::WriteWav(path, testing::ClickTrack(testing::SteadyClicks(120.0, 0.5, 24), 12.5, kAudioSampleRate), 1,
                    kAudioSampleRate);
  return path;
}

TEST(MusicAnalysis, AWorkerDecodesBuildsTheEnvelopeAndFindsTheBeats) {
  testing::ScratchDir dir;
  RecordingListener listener;
  MusicAnalyser analyser;
  const auto clicks = ClickFile(dir);
  ASSERT_TRUE(analyser.Start({clicks, true}, listener));
  EXPECT_FALSE(analyser.Start({clicks, true}, listener));  // one job at a time
  const MusicAnalysis analysis = listener.Wait();
  analyser.Finished();
  EXPECT_FALSE(analyser.Busy());

  ASSERT_TRUE(analysis.Ok()) << analysis.Message;
  ASSERT_NE(analysis.Envelope, nullptr);
  EXPECT_NEAR(analysis.Envelope->DurationSeconds(), 12.5, 1e-3);
  const auto column = analysis.Envelope->Columns(0.5, 0.01, 1)[0];  // over the first click
  EXPECT_GT(column.Max, 0.5f);
  EXPECT_NEAR(analysis.Beats.TempoBpm, 120.0, 0.5);
  EXPECT_GE(analysis.Beats.BeatSeconds.size(), 18u);

  const auto progress = listener.Progress();
  ASSERT_FALSE(progress.empty());
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_EQ(progress.back(), 1.0);
  EXPECT_EQ(listener.Results(), 1);
}

TEST(MusicAnalysis, WithoutBeatsOnlyTheEnvelopeIsMade) {
  testing::ScratchDir dir;
  const MusicAnalysis analysis = AnalyseMusic({ClickFile(dir), false});
  ASSERT_TRUE(analysis.Ok());
  EXPECT_NE(analysis.Envelope, nullptr);
  EXPECT_TRUE(analysis.Beats.BeatSeconds.empty());
}

TEST(MusicAnalysis, AFileThatDoesNotDecodeReportsItsMessage) {
  testing::ScratchDir dir;
  RecordingListener listener;
  MusicAnalyser analyser;
  const auto path = dir.Write("notes.mp3", "not music");
  ASSERT_TRUE(analyser.Start({path, true}, listener));
  const MusicAnalysis analysis = listener.Wait();
  analyser.Finished();
  EXPECT_FALSE(analysis.Ok());
  EXPECT_EQ(analysis.File, path);
  EXPECT_EQ(analysis.Envelope, nullptr);
  EXPECT_NE(analysis.Message.find(path.string()), std::string::npos) << analysis.Message;
  // The analyser takes the next job once finished.
  ASSERT_TRUE(analyser.Start({ClickFile(dir), false}, listener));
}

TEST(MusicAnalysis, GoingAwayMidJobStopsTheWorkerWhichStillReports) {
  testing::ScratchDir dir;
  RecordingListener listener;
  listener.Hold();
  {
    MusicAnalyser analyser;
    ASSERT_TRUE(analyser.Start({ClickFile(dir), true}, listener));
    listener.WaitForFirstReport();
    analyser.RequestStop();
    listener.Release();
    EXPECT_EQ(listener.Wait().Status, AudioDecodeStatus::Stopped);
  }
  EXPECT_EQ(listener.Results(), 1);
}

}  // namespace
}  // namespace orvane
