#include "export/export_progress.h"

#include "export/video_export_run.h"

#include <cmath>
#include <cstdio>

namespace orvane {

std::string ProgressLine(const ExportProgress& p) { return FrameProgressLine(p.Done, p.Total); }

std::string ProgressText(const ExportProgress& p) {
  std::string text = ProgressLine(p);
  if (p.Done <= 0 || p.ElapsedSeconds <= 0 || p.FramesPerSecond <= 0) return text;
  const double speed = static_cast<double>(p.Done) / p.FramesPerSecond / p.ElapsedSeconds;
  const double left = static_cast<double>(p.Total - p.Done) / p.FramesPerSecond / speed;
  const long long seconds = std::llround(std::fmax(left, 0));
  char tail[96];
  std::snprintf(tail, sizeof tail, ", %.2fx real time, %lld:%02lld left", speed, seconds / 60, seconds % 60);
  return text + tail;
}

}  // namespace orvane
