#pragma once
// The progress of a video export as a person reads it on a terminal, and as a program
// reads it from a child process.

#include <cstdint>
#include <string>

namespace orvane {

struct ExportProgress {
  int64_t Done = 0, Total = 0;  // frames encoded, frames in the show
  double ElapsedSeconds = 0;    // since the export started
  double FramesPerSecond = 25;  // of the show
};

// "frame 250/1500, 0.42x real time, 1:23 left"; the speed and time left once known.
std::string ProgressText(const ExportProgress& p);
// "frame 250/1500"
std::string ProgressLine(const ExportProgress& p);

}  // namespace orvane
