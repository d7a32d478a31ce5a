#pragma once
// A particle set: one live run of a device's compiled part during a compile. Each step
// releases stars from the emitter, moves them along the drag-and-gravity path, feeds the
// trail pool and starts chained effects; the emitter follows the same law.

#include <cstdint>
#include <vector>

#include "compiler/compile_snapshot.h"
#include "model/compiled_device.h"

namespace orvane {

struct CompileContext;

struct TBasePartics {
  float VelX = 0, VelY = 0, VelZ = 0;  // launch velocity of the current flight
  float PosX = 0, PosY = 0, PosZ = 0;
  float Vel0X = 0, Vel0Y = 0, Vel0Z = 0;  // velocity at creation, kept for relaunches
  uint32_t LifeFrames = 1;
  uint32_t Age = 0;
  // LifeFrames entries: the device's own table, which the compile's snapshot keeps alive.
  const FrameColor* Colors = nullptr;
  uint32_t NextParFrame = 0;
  bool NextParSpawned = false;
  bool Alive = false;
};

class CSet {
 public:
  // Root sets start at the device's BestX/Y/Z with velocity 0, emitter resistance 1.0 and
  // gravity 0. Draws the set's launch variant from the random generator.
  CSet(const SnapshotDevice& device, float x, float y, float z, float velX, float velY, float velZ,
       float emitResistance, float emitGravity);
  virtual ~CSet() = default;
  CSet(const CSet&) = delete;
  CSet& operator=(const CSet&) = delete;

  uint16_t StarCount = 0;
  float OriginX = 0, OriginY = 0, OriginZ = 0;
  float EmitX = 0, EmitY = 0, EmitZ = 0;
  float BaseVelX = 0, BaseVelY = 0, BaseVelZ = 0;
  float EmitStepX = 0, EmitStepY = 0, EmitStepZ = 0;  // emitter move of this frame, before Scale
  float EmitResistance = 0;
  float EmitGravity = 0;
  uint32_t EffectFrames = 1;
  float Size = 0;
  float Resistance = 0;
  float Gravity = 0;
  uint8_t StarKind = 0;  // 1 progressive, 2 explosive
  uint8_t TrailExists = 0;
  float TrailFactor = 0;
  uint8_t NextEffExists = 0;
  int32_t NextEffCode = 0;
  int32_t NextEffFrame = 0;
  bool NextEffSpawned = false;
  uint8_t NextParExists = 0;
  int32_t NextParCode = 0;
  std::vector<TBasePartics> Stars;
  uint32_t Frame = 0;
  uint16_t Emitted = 0;
  uint16_t Dead = 0;
  float EmitAccumulator = 0;
  uint32_t MaxLifeFrames = 0;
  bool Finished = false;
  bool Ready = false;

  const SnapshotDevice& Device() const { return *device_; }
  // FastExp(EmitResistance) - 1, in double: the same every frame.
  double EmitDragFactor() const { return emitDrag_; }

 private:
  const SnapshotDevice* device_;
  double emitDrag_ = 0;
};

// Advances the set by one frame; nothing when it is not Ready.
void StepSet(CompileContext& context, CSet& set);

}  // namespace orvane
