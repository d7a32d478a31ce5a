#pragma once
// What the compiled show file was made from, as the show window knows it. The file is
// shared with the main window's compiles, so the show replays it only while every part
// agrees; otherwise it compiles again.

#include <cstdint>

namespace orvane {

struct CompiledShowStamp {
  int UndoIndex = -1;            // the cues and settings, as the show's undo stack stands
  uint64_t DevicesRevision = 0;  // the device list's
  float Scale = 0;               // the motion scale as the compile started
  uint64_t CompileNumber = 0;    // the program's compiles so far; the file holds the last one
  bool operator==(const CompiledShowStamp&) const = default;
};

}  // namespace orvane
