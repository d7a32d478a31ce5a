#include "export/video_export_run.h"

#include <algorithm>
#include <charconv>

namespace orvane {
namespace {

constexpr std::string_view kFramePrefix = "frame ";
// A child that prints without end must not grow the window's memory.
constexpr size_t kMaxLineBytes = 4096;
constexpr size_t kMaxMessages = 8;

std::optional<int64_t> ReadCount(std::string_view text) {
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value < 0) return std::nullopt;
  return value;
}

int32_t Even(int32_t side) { return std::max(2, side - side % 2); }

}  // namespace

std::string FrameProgressLine(int64_t done, int64_t total) {
  return std::string(kFramePrefix) + std::to_string(done) + "/" + std::to_string(total);
}

std::optional<FrameProgress> ReadFrameProgressLine(std::string_view line) {
  if (!line.starts_with(kFramePrefix)) return std::nullopt;
  line.remove_prefix(kFramePrefix.size());
  const size_t slash = line.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const auto done = ReadCount(line.substr(0, slash)), total = ReadCount(line.substr(slash + 1));
  if (!done || !total || *total == 0 || *done > *total) return std::nullopt;
  return FrameProgress{*done, *total};
}

bool IsVideoSize(const VideoSize& size) {
  for (const int32_t side : {size.Width, size.Height})
    if (side % 2 != 0 || side < kMinPictureSide || side > kMaxPictureSide) return false;
  return true;
}

std::vector<VideoSize> VideoExportSizes(int32_t panelWidth, int32_t panelHeight) {
  std::vector<VideoSize> sizes;
  for (const VideoSize size :
       {VideoSize{Even(panelWidth), Even(panelHeight)}, VideoSize{1280, 720}, VideoSize{1920, 1080}}) {
    if (std::find(sizes.begin(), sizes.end(), size) == sizes.end()) sizes.push_back(size);
  }
  return sizes;
}

std::vector<std::string> VideoExportArguments(const VideoExportRequest& request) {
  std::vector<std::string> words = {"video",
                                    "--show",
                                    request.ShowFolder.string(),
                                    "-o",
                                    request.Output.string(),
                                    "--size",
                                    std::to_string(request.Size.Width) + "x" + std::to_string(request.Size.Height),
                                    "--progress-lines"};
  if (request.Seed) words.insert(words.end(), {"--seed", std::to_string(*request.Seed)});
  return words;
}

void VideoExportRun::TakeErrorOutput(std::string_view bytes) {
  for (const char c : bytes) {
    if (c == '\n' || c == '\r') {
      TakeLine(partial_);
      partial_.clear();
    } else if (partial_.size() < kMaxLineBytes) {
      partial_ += c;
    }
  }
}

void VideoExportRun::TakeLine(std::string_view line) {
  if (line.empty()) return;
  if (const auto progress = ReadFrameProgressLine(line)) {
    progress_ = progress;
    return;
  }
  const std::string prefix = std::string(kCliProgramName) + ": ";
  if (line.starts_with(prefix)) line.remove_prefix(prefix.size());
  messages_.emplace_back(line);
  if (messages_.size() > kMaxMessages) messages_.pop_front();
}

int VideoExportRun::Percent() const {
  if (!progress_) return 0;
  return static_cast<int>(progress_->Done * 100 / progress_->Total);
}

VideoExportOutcome VideoExportRun::Finish(int exitStatus, bool crashed) const {
  if (!crashed && exitStatus == 0) return {VideoExportEnd::kDone, {}};
  if (cancelRequested_ && (crashed || exitStatus == kCliExitStopped || exitStatus == kCliExitTerminated))
    return {VideoExportEnd::kCancelled, {}};
  std::vector<std::string> lines(messages_.begin(), messages_.end());
  if (!partial_.empty()) lines.push_back(partial_);
  std::string message;
  for (const std::string& line : lines) message += (message.empty() ? "" : "\n") + line;
  if (message.empty()) {
    message = crashed ? std::string(kCliProgramName) + " did not run to its end"
                      : std::string(kCliProgramName) + " ended with status " + std::to_string(exitStatus);
  }
  return {VideoExportEnd::kFailed, message};
}

}  // namespace orvane
