#pragma once
// A particle set: one live run of a device's compiled part during a compile. Each step
// releases stars from the emitter, moves them along the drag-and-gravity path, feeds the
// trail pool and starts chained effects; the emitter follows the same law.

#include <cstdint>
#include <vector>

#include "compiler/compile_snapshot.h"
#include "compiler/emitter_motion.h"
#include "model/compiled_device.h"

namespace orvane {

struct CompileContext;

struct TBasePartics {
  float VelX = 0, VelY = 0, VelZ = 0;     // launch velocity of the current flight, scene units per frame
  float PosX = 0, PosY = 0, PosZ = 0;     // scene units
  float Vel0X = 0, Vel0Y = 0, Vel0Z = 0;  // velocity at creation, kept for relaunches
  uint32_t LifeFrames = 1;                // frames of one flight
  uint32_t Age = 0;                       // frames flown in this flight
  // LifeFrames entries in the snapshot's tables, at [Age * set's ColorStride]: the colours
  // as the records store them, and, for a device with trails, their float alpha.
  const EncodedColor* Encoded = nullptr;
  const float* Alphas = nullptr;
  uint32_t NextParFrame = 0;  // age in frames
  bool NextParSpawned = false;
  bool Alive = false;
  // Fixed for a flight, so kept with it: VelX / Resistance, VelZ / Resistance and
  // VelY - Gravity / Resistance, each as float32.
  float VelXPerR = 0, VelZPerR = 0, VelYLessFall = 0;
};

class CSet final {
 public:
  // Root sets start at the device's BestX/Y/Z with velocity 0, emitter resistance 1.0 and
  // gravity 0. Draws the set's launch variant from the random generator, and fills the
  // device's derived tables the first time.
  // `emitter`, when given, is the shared table for emitResistance.
  CSet(SnapshotDevice& device, float x, float y, float z, float velX, float velY, float velZ, float emitResistance,
       float emitGravity, EmitterMotion* emitter = nullptr);
  CSet(const CSet&) = delete;
  CSet& operator=(const CSet&) = delete;

  uint16_t StarCount = 0;                             // stars
  float OriginX = 0, OriginY = 0, OriginZ = 0;        // scene units
  float EmitX = 0, EmitY = 0, EmitZ = 0;              // scene units
  float BaseVelX = 0, BaseVelY = 0, BaseVelZ = 0;     // scene units per frame
  float EmitStepX = 0, EmitStepY = 0, EmitStepZ = 0;  // emitter move of this frame, before Scale
  float EmitResistance = 0;                           // drag per frame
  float EmitGravity = 0;                              // scene units per frame²
  uint32_t EffectFrames = 1;                          // frames (40 ms)
  float Size = 0;                                     // scene units: a star's quad width before Scale
  float Resistance = 0;                               // drag per frame
  float Gravity = 0;                                  // scene units per frame², negative pulls down
  orvane::StarKind StarKind = StarKind::None;
  uint8_t TrailExists = 0;    // 0 or 1
  float TrailFactor = 0;      // trail life as a fraction of a star's remaining life
  uint8_t NextEffExists = 0;  // 0 or 1
  int32_t NextEffCode = 0;    // device code
  int32_t NextEffFrame = 0;   // the set's Frame that starts the chained effect
  bool NextEffSpawned = false;
  uint8_t NextParExists = 0;        // 0 or 1
  int32_t NextParCode = 0;          // device code
  std::vector<TBasePartics> Stars;  // StarCount entries
  uint32_t Frame = 0;               // frames since the set started
  uint16_t Emitted = 0;             // stars released so far
  uint16_t Dead = 0;                // stars ended for good
  float EmitAccumulator = 0;        // stars (a fraction) waiting for release
  uint32_t MaxLifeFrames = 0;       // frames: the longest star life of the set
  size_t ColorStride = 1;           // encoded colour entries between two ages of a star
  bool Finished = false;
  bool Ready = false;
  // The show cue this set descends from (0 outside shows); not part of the simulation.
  uint32_t Cue = 0;

  const SnapshotDevice& Device() const { return *device_; }
  // The emitter's drag factor c for the current Frame.
  float EmitFactor() const;
  // Sets the velocity of a star's flight and the quotients kept with it.
  void Launch(TBasePartics& star, float velX, float velY, float velZ) const;

 private:
  const SnapshotDevice* device_;
  EmitterMotion* emitter_;
  double emitDrag_ = 0;
};

// Advances the set by one frame; nothing when it is not Ready.
void StepSet(CompileContext& context, CSet& set);

}  // namespace orvane
