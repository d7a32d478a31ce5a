#pragma once
// Everything one compile works on, handed in by its owner: no hidden globals.

#include <atomic>
#include <cstdint>
#include <optional>
#include <stop_token>

#include "compiler/compile_snapshot.h"
#include "compiler/emitter_motion.h"
#include "compiler/set_list.h"
#include "compiler/show_record.h"
#include "compiler/show_sink.h"
#include "compiler/trail_pool.h"
#include "util/show_length.h"

namespace orvane {

// The most particles one compile may hold at once, and the default bound.
inline constexpr uint64_t kMaxParticles = kMaxFrameRecords;
// The longest show. Trails too faint to fade in float32, or an absurd effect length,
// would otherwise compile until the disk is full.
inline constexpr uint64_t kMaxFrames = kMaxShowSeconds * static_cast<uint64_t>(kFramesPerSecond);
static_assert(kMaxFrames == 90'000);

// The size bounds. An acyclic chain can still multiply beyond memory or never end; past
// any limit the compile ends after the current frame and keeps the show written so far.
struct CompileLimits {
  // Star slots of live sets (one more per set) plus trail particles, at any moment.
  uint64_t MaxParticles = kMaxParticles;
  // The open block's data; keeps the block's 32-bit length, and its memory, in bounds.
  uint64_t MaxBlockBytes = kMaxBlockDataBytes;
  // Frames of the show.
  uint64_t MaxFrames = kMaxFrames;
  // The free space the target's file system keeps.
  DiskSpaceGuard Disk{};
};
// A frame holds at most one record per particle: it always fits in an empty block.
static_assert(kMaxParticles * kRecordSize + kFrameHeaderSize < kMaxBlockDataBytes);

struct SpawnRequest {
  int32_t Code = 0;
  float PosX = 0, PosY = 0, PosZ = 0;
  float VelX = 0, VelY = 0, VelZ = 0;
  float Resistance = 0;
  float Gravity = 0;
};

struct CompileContext {
  SetList& Sets;
  CTrail& Trail;
  const CompileSnapshot& Devices;
  // Held by the display; read at every use, so a change applies from the next use.
  const std::atomic<float>& Scale;
  CompileLimits Limits{};
  // Set when a spawn or an emission was refused by the size bound.
  bool Cut = false;
  // Asked only when the owner goes away mid-compile; there is no cancel otherwise.
  std::stop_token Stop{};
  // Particles below this scene height count as fallout in their cue's extent; nothing:
  // no fallout is gathered. Observed only: the show's bytes do not depend on it.
  std::optional<double> FalloutCeilingY{};
  // The emitters' drag tables of this compile.
  EmitterMotions Emitters{};

  float CurrentScale() const { return Scale.load(std::memory_order_relaxed); }
  uint64_t HeldParticles() const { return Sets.HeldParticles() + Trail.Count(); }
  // False (and Cut set) when holding `more` particles would pass the bound.
  bool Admit(uint64_t more);
};

// Makes a set for the request's device, when the snapshot has one, and appends it.
void SpawnSet(CompileContext& context, const SpawnRequest& request);

// Frees the set and deletes its entry. False when the list does not hold it.
bool RemoveSet(CompileContext& context, const CSet* set);

}  // namespace orvane
