#pragma once
// How a compile reports: progress once per frame (message 1026) and completion once at
// the end (message 1025). Calls come on the compile thread; a toolkit layer turns each
// into a queued call on its own thread and must not block in them.

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/root_cue.h"

namespace orvane {

struct CompileOutcome {
  enum class Status {
    kComplete,
    kCut,          // a size or length bound was reached: the file holds a valid show up to the cut
    kWriteFailed,  // the file could not be created or written, or the disk is nearly full;
                   // no partial file is left
    kOutOfMemory,
    kStopped,  // stopped by the user or the owner's going away; the partial file is removed
  };
  Status State = Status::kComplete;
  uint64_t Frames = 0;
  uint64_t Blocks = 0;
  uint64_t Records = 0;
  // Records not written: a position beyond what the file can store (PositionFits).
  uint64_t Culled = 0;
  // kCut by the show-length bound rather than the size bound.
  bool LengthCut = false;
  // The text for the user when State is not kComplete.
  std::string Message;
  // A show's cues, one each in list order; empty for a single root.
  std::vector<CueExtent> Extents;

  bool Written() const { return State == Status::kComplete || State == Status::kCut; }
};

class CompileListener {
 public:
  virtual ~CompileListener() = default;
  // position: the progress bar, 0..96 in steps of 4 within each block; records: running total.
  virtual void CompileProgress(int position, int64_t records) = 0;
  // Once for every compile that started, whatever its outcome.
  virtual void CompileFinished(const CompileOutcome& outcome) = 0;
};

}  // namespace orvane
