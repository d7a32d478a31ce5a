#include "export/video_export.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "compiler/show_record.h"
#include "compiler/show_summary.h"
#include "media/audio_track.h"
#include "util/safe_file.h"

namespace orvane {
namespace {

std::string OutputRefusal(const std::filesystem::path& target, const std::string& reason) {
  std::error_code ec;
  if (std::filesystem::is_directory(target, ec)) return "cannot write " + target.string() + ": it is a folder";
  const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
  return "cannot write in " + folder.string() + ": " + reason;
}

// Pictures drawn but not yet encoded; a few let the two threads overlap without holding
// more than a few megabytes each.
constexpr size_t kQueuedPictures = 3;

class PictureQueue {
 public:
  // Waits for room; false once the encoder has given up.
  bool Push(std::vector<uint8_t> picture) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return pictures_.size() < kQueuedPictures || closed_; });
    if (closed_) return false;
    pictures_.push_back(std::move(picture));
    changed_.notify_all();
    return true;
  }
  // Waits for a picture; nothing once the drawing has ended and all are taken.
  std::optional<std::vector<uint8_t>> Pop() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !pictures_.empty() || ended_ || closed_; });
    if (pictures_.empty() || closed_) return std::nullopt;
    std::vector<uint8_t> picture = std::move(pictures_.front());
    pictures_.pop_front();
    changed_.notify_all();
    return picture;
  }
  void End() {
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
  }
  void Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<uint8_t>> pictures_;
  bool ended_ = false, closed_ = false;
};

struct EncodeThread {
  VideoEncoder& encoder;
  PictureQueue queue;
  std::atomic<int64_t> done{0};
  std::string error;  // read after join

  void Run() {
    while (std::optional<std::vector<uint8_t>> picture = queue.Pop()) {
      if (Result<> added = encoder.AddFrame(picture->data()); !added) {
        error = added.Message();
        queue.Close();
        return;
      }
      done.fetch_add(1);
    }
  }
};

// Feeds the encoder exactly one picture per show frame, whatever the player skips.
struct FrameFeeder {
  EncodeThread& encode;
  int64_t total;
  int64_t next = 0;
  std::vector<uint8_t> last;

  bool Give(RenderedFrame&& frame) {
    if (frame.Index < next) return true;
    while (next < frame.Index && next < total) {
      if (!encode.queue.Push(last.empty() ? std::vector<uint8_t>(frame.Rgb.size(), 0) : last)) return false;
      ++next;
    }
    if (next >= total) return true;
    last = frame.Rgb;
    if (!encode.queue.Push(std::move(frame.Rgb))) return false;
    ++next;
    return true;
  }
  // A show whose last frames drew nothing new ends on its last picture.
  bool Complete() {
    while (next < total && !last.empty()) {
      if (!encode.queue.Push(last)) return false;
      ++next;
    }
    return next == total;
  }
};

}  // namespace

VideoExportReport ExportVideo(const VideoJob& job, const std::atomic<bool>& stop, const VideoProgress& progress) {
  VideoExportReport report;
  ShowSummary summary;
  if (const auto fault = SummarizeShowFile(job.ShowFile, summary)) {
    report.Error = "the show file " + job.ShowFile.string() + " is damaged at " + fault->Describe();
    return report;
  }
  if (summary.Frames == 0) {
    report.Error = "the show file " + job.ShowFile.string() + " holds no frames";
    return report;
  }
  const auto total = static_cast<int64_t>(summary.Frames);
  std::unique_ptr<AudioTrack> music;
  if (job.Music) {
    Result<std::unique_ptr<AudioTrack>> opened = AudioTrack::Open(job.Music->string(), job.MusicOffsetSeconds);
    if (!opened) {
      report.Error = opened.Message();
      return report;
    }
    music = std::move(opened.Value());
  }
  // The encoder writes through the temporary's descriptor; the SafeFile syncs and renames it.
  SafeFile output(job.Output);
  if (!output.Opened()) {
    report.Error = OutputRefusal(job.Output, output.ErrorText());
    return report;
  }
  VideoFormat format;
  format.Width = job.Render.Width;
  format.Height = job.Render.Height;
  format.FramesPerSecond = static_cast<int32_t>(kFramesPerSecond);
  format.Crf = job.Crf;
  Result<std::unique_ptr<VideoEncoder>> opened = VideoEncoder::Open(fileno(output.Stream()), format, music.get());
  if (!opened) {
    report.Error = "cannot write " + job.Output.string() + ": " + opened.Message();
    return report;
  }
  const std::unique_ptr<VideoEncoder> encoder = std::move(opened.Value());

  EncodeThread encode{*encoder};
  FrameFeeder feeder{encode, total};
  std::thread encoding([&encode] { encode.Run(); });
  RenderOptions options = job.Render;
  options.FirstFrame = 0;
  options.LastFrame = total - 1;
  const RenderReport drawn = RenderShow(
      job.ShowFile.string(), options, [](int64_t) { return true; }, nullptr,
      [&](RenderedFrame&& frame) {
        if (stop.load() || !feeder.Give(std::move(frame))) return false;
        if (progress) progress(encode.done.load(), total);
        return true;
      });
  const bool complete = !stop.load() && drawn.Error.empty() && feeder.Complete();
  encode.queue.End();
  encoding.join();

  if (stop.load()) {
    report.Stopped = true;
    return report;
  }
  if (!encode.error.empty()) {
    report.Error = "cannot write " + job.Output.string() + ": " + encode.error;
    return report;
  }
  if (!drawn.Error.empty() || !drawn.Messages.empty()) {
    report.Error = !drawn.Error.empty() ? drawn.Error : drawn.Messages.back();
    return report;
  }
  if (!complete) {
    report.Error = "the show drew " + std::to_string(feeder.next) + " of its " + std::to_string(total) + " frames";
    return report;
  }
  if (Result<> finished = encoder->Finish(); !finished) {
    report.Error = "cannot write " + job.Output.string() + ": " + finished.Message();
    return report;
  }
  if (stop.load()) {
    report.Stopped = true;
    return report;
  }
  if (!output.Commit()) {
    report.Error = "cannot write " + job.Output.string() + ": " + output.ErrorText();
    return report;
  }
  if (progress) progress(total, total);
  report.Frames = encoder->Frames();
  report.Seconds = static_cast<double>(report.Frames) / kFramesPerSecond;
  std::error_code ec;
  report.Bytes = std::filesystem::file_size(job.Output, ec);
  if (music && !music->Warning().empty()) report.Warnings.push_back(music->Warning());
  return report;
}

}  // namespace orvane
