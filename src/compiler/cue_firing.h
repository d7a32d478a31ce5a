#pragma once
// The cue side of a show's frame loop: fires the cues due at the start of each frame, in
// firing order (by frame, file order within a frame), and keeps every cue's extent from
// the records written.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "compiler/root_cue.h"

namespace orvane {

struct CompileContext;
class CSet;
class CTrail;

class CueFiring {
 public:
  // The cues must outlive this object. Particles below `falloutCeilingY` (scene units) are
  // the cues' fallout; nothing: no fallout is gathered.
  explicit CueFiring(const std::vector<RootCue>& cues, std::optional<double> falloutCeilingY = std::nullopt);

  // Makes the root set of every cue of `frame` as the single-device compile makes its
  // root, tags it with the cue's index and appends it to the set list.
  void Fire(CompileContext& context, uint64_t frame);
  bool Pending() const { return next_ < order_.size(); }

  // The trail pool's particles and a set's live stars as they are written in `frame`.
  void NoteTrail(const CTrail& trail, uint64_t frame);
  void NoteStars(const CSet& set, uint64_t frame);
  // A set that `parent` made in `frame`; the first one of a cue is its break.
  void NoteSpawn(const CSet& parent, const CSet& child, uint64_t frame);

  // One per cue, in the order the cues were given.
  std::vector<CueExtent> TakeExtents();

 private:
  void Note(uint32_t cue, double x, double y, double z, uint64_t frame);

  const std::vector<RootCue>& cues_;
  std::vector<uint32_t> order_;
  size_t next_ = 0;
  std::vector<CueExtent> extents_;
  std::vector<double> radius2_;  // squared radius, rooted at the end
  std::optional<double> falloutCeilingY_;
};

}  // namespace orvane
