#pragma once
// What a change of the show project touched, and the interface through which every view
// (the main window, the show window, a command) learns of it. The project calls its
// observers on the thread that changed it, after the change is complete.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

enum class ProjectPart : uint32_t {
  kCues = 1,
  kSettings = 2,   // title, music, offset, scale, seed and what extends them
  kDevices = 4,    // the device list's records, items or selection
  kDocument = 8,   // another show: opened, started or closed; everything is new
  kHistory = 16,   // undo, redo or the saved state moved
  kBeats = 32,     // the music's beats arrived or went
  kProducts = 64,  // products.csv's rows
  kCamera = 128,   // the camera path's keys
};

struct ProjectChange {
  uint32_t Parts = 0;
  // Cue rows the edit put in (or, taken back, restored): the views select them.
  std::vector<size_t> CueRows;
  // A line for the status bar, e.g. how many cues a device edit left without their device.
  std::string Note;

  bool Has(ProjectPart part) const { return (Parts & static_cast<uint32_t>(part)) != 0; }
  void Add(ProjectPart part) { Parts |= static_cast<uint32_t>(part); }
};

class ProjectObserver {
 public:
  virtual ~ProjectObserver() = default;
  virtual void ProjectChanged(const ProjectChange& /*change*/) {}
  // A compile of the show started; the show file will be replaced.
  virtual void ShowCompileStarted() {}
  // The show's compile ended; written: the show file holds it (whole or cut).
  virtual void ShowCompiled(bool /*written*/) {}
  // The written show left out some of its particles (CulledCuesWarning words it).
  virtual void ShowCompileWarning(const std::string& /*text*/) {}
  virtual void PlaybackStarted() {}
  virtual void PlaybackEnded() {}
  virtual void ProjectSaved() {}
};

}  // namespace orvane
