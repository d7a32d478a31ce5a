#include "compiler/particle_set.h"

#include <algorithm>
#include <cassert>

#include "compiler/compile_context.h"
#include "compiler/fast_exp.h"
#include "util/random.h"
#include "util/rounding.h"

namespace orvane {
namespace {

constexpr EncodedColor kWhiteEncoded{255, 255, 255, 0xF0};
constexpr float kWhiteAlpha = 1.0f;

void ReleaseProgressive(const CompileContext& context, CSet& s) {
  if (s.Emitted >= s.StarCount) return;
  assert(s.MaxLifeFrames >= 1);
  s.EmitAccumulator = F32(s.EmitAccumulator + s.StarCount / static_cast<double>(s.MaxLifeFrames));
  const int32_t t = Trunc(s.EmitAccumulator);
  if (t <= 0) return;
  const int32_t k = std::min<int32_t>(t, s.StarCount - s.Emitted);
  const float scale = context.CurrentScale();
  for (int32_t i = s.Emitted; i < s.Emitted + k; ++i) {
    TBasePartics& star = s.Stars[i];
    star.Alive = true;
    star.PosX = s.EmitX;
    star.PosY = s.EmitY;
    star.PosZ = s.EmitZ;
    s.Launch(star, star.Vel0X - s.EmitStepX * scale - s.BaseVelX, star.Vel0Y - s.EmitStepY * scale - s.BaseVelY,
             star.Vel0Z - s.EmitStepZ * scale - s.BaseVelZ);
  }
  s.Emitted = static_cast<uint16_t>(s.Emitted + k);
  // The fraction left over is dropped, not carried.
  s.EmitAccumulator = 0;
}

void ReleaseExplosive(CSet& s) {
  if (s.Emitted == s.StarCount) return;
  for (TBasePartics& star : s.Stars) star.Alive = true;
  s.Emitted = s.StarCount;
}

void SpawnFromStar(CompileContext& context, const CSet& s, const TBasePartics& star, float dx, float dy, float dz) {
  SpawnRequest r;
  r.Code = s.NextParCode;
  r.PosX = star.PosX;
  r.PosY = star.PosY;
  r.PosZ = star.PosZ;
  if (s.StarKind == StarKind::Explosive) {
    r.VelX = dx;
    r.VelY = dy;
    r.VelZ = dz;
  } else {
    r.VelX = dx + s.EmitStepX;
    r.VelY = dy + s.EmitStepY;
    r.VelZ = dz + s.EmitStepZ;
  }
  r.Resistance = s.Resistance;
  r.Gravity = s.Gravity;
  SpawnSet(context, r);
}

void EmitTrail(CompileContext& context, const CSet& s, const TBasePartics& star, float dx, float dy, float dz,
               float scale) {
  if (!context.Admit(CTrail::ParticlesPerEmit(s.Size))) return;
  const float remaining = static_cast<float>(star.LifeFrames - star.Age);
  const auto life = static_cast<uint32_t>(RoundHalfEven(remaining * s.TrailFactor));
  const size_t at = star.Age * s.ColorStride;
  context.Trail.Emit(life, star.PosX - dx * scale, star.PosY - dy * scale, star.PosZ - dz * scale, star.Encoded[at],
                     star.Alphas[at], s.Size, dx, dy, dz);
}

void AgeStar(const CSet& s, TBasePartics& star, uint16_t& dead) {
  if (star.Age < star.LifeFrames - 1) {
    ++star.Age;
  } else if (s.StarKind == StarKind::Explosive || s.Frame >= s.EffectFrames - 1) {
    star.Alive = false;
    ++dead;
  } else {
    // Relaunch from the emitter; here the step is taken without Scale.
    star.PosX = s.EmitX;
    star.PosY = s.EmitY;
    star.PosZ = s.EmitZ;
    s.Launch(star, star.Vel0X - s.EmitStepX - s.BaseVelX, star.Vel0Y - s.EmitStepY - s.BaseVelY,
             star.Vel0Z - s.EmitStepZ - s.BaseVelZ);
    star.NextParSpawned = false;
    star.Age = 0;
  }
}

void MoveStars(CompileContext& context, CSet& s) {
  const std::vector<float>& factors = s.Device().AgeFactors;
  const float r = s.Resistance;
  const float g = s.Gravity;
  for (TBasePartics& star : s.Stars) {
    if (!star.Alive) continue;
    assert(star.Age < star.LifeFrames && star.Age < factors.size());
    const float b = factors[star.Age];
    // dx = VelX / r * b, dy = (g + b * (VelY - g / r)) / r, dz = VelZ / r * b.
    const float dx = star.VelXPerR * b;
    const float dy = (g + b * star.VelYLessFall) / r;
    const float dz = star.VelZPerR * b;
    const float scale = context.CurrentScale();
    star.PosX = star.PosX + dx * scale;
    star.PosY = star.PosY + dy * scale;
    star.PosZ = star.PosZ + dz * scale;
    if (s.NextParExists && !star.NextParSpawned && star.Age >= star.NextParFrame) {
      star.NextParSpawned = true;
      SpawnFromStar(context, s, star, dx, dy, dz);
    }
    if (s.TrailExists) EmitTrail(context, s, star, dx, dy, dz, scale);
    AgeStar(s, star, s.Dead);
  }
}

void SpawnWholeEffect(CompileContext& context, CSet& s) {
  if (!s.NextEffExists || s.NextEffSpawned || s.Frame < static_cast<uint32_t>(s.NextEffFrame)) return;
  s.NextEffSpawned = true;
  SpawnRequest r;
  r.Code = s.NextEffCode;
  r.PosX = s.EmitX;
  r.PosY = s.EmitY;
  r.PosZ = s.EmitZ;
  r.VelX = s.BaseVelX;
  r.VelY = s.BaseVelY;
  r.VelZ = s.BaseVelZ;
  r.Resistance = s.EmitResistance;
  r.Gravity = s.EmitGravity;
  SpawnSet(context, r);
}

void MoveEmitter(const CompileContext& context, CSet& s) {
  const float er = s.EmitResistance;
  const float eg = s.EmitGravity;
  const float c = s.EmitFactor();
  s.EmitStepX = s.BaseVelX / er * c;
  s.EmitStepY = (eg + c * (s.BaseVelY - eg / er)) / er;
  s.EmitStepZ = s.BaseVelZ / er * c;
  const float scale = context.CurrentScale();
  s.EmitX = s.EmitX + s.EmitStepX * scale;
  s.EmitY = s.EmitY + s.EmitStepY * scale;
  s.EmitZ = s.EmitZ + s.EmitStepZ * scale;
}

}  // namespace

void CSet::Launch(TBasePartics& star, float velX, float velY, float velZ) const {
  star.VelX = velX;
  star.VelY = velY;
  star.VelZ = velZ;
  star.VelXPerR = velX / Resistance;
  star.VelZPerR = velZ / Resistance;
  star.VelYLessFall = velY - Gravity / Resistance;
}

float CSet::EmitFactor() const {
  return emitter_ != nullptr ? emitter_->Factor(Frame) : EmitterMotion::Compute(emitDrag_, EmitResistance, Frame);
}

CSet::CSet(SnapshotDevice& device, float x, float y, float z, float velX, float velY, float velZ, float emitResistance,
           float emitGravity, EmitterMotion* emitter)
    : device_(&device), emitter_(emitter) {
  PrepareSnapshotDevice(device);
  const TCompDevice& part = *device.Part;
  Ready = false;
  ReseedFromClock();
  // A hand-made part may hold fewer stars than it claims; a prepared one never does.
  StarCount = static_cast<uint16_t>(std::min<size_t>(part.StarQuantity, part.Stars.size()));
  OriginX = EmitX = x;
  OriginY = EmitY = y;
  OriginZ = EmitZ = z;
  BaseVelX = velX;
  BaseVelY = velY;
  BaseVelZ = velZ;
  EmitResistance = emitResistance;
  EmitGravity = emitGravity;
  emitDrag_ = emitter != nullptr ? emitter->Drag() : FastExp(emitResistance) - 1;
  // A part never holds 0 frames; a hand-made one would make the end test unreachable.
  EffectFrames = std::max<uint32_t>(part.EffectFrames, 1);
  Size = part.Size;
  Resistance = part.Resistance;
  Gravity = part.Gravity;
  StarKind = part.StarKind;
  TrailExists = part.TrailExists;
  TrailFactor = part.TrailFactor;
  NextEffExists = part.NextEffExists;
  NextEffCode = part.NextEffCode;
  NextParExists = part.NextParExists;
  NextParCode = part.NextParCode;
  NextEffFrame = RoundHalfEven(static_cast<float>(EffectFrames - 1) * part.NextEffFactor);
  NextEffSpawned = false;

  Stars.resize(StarCount);
  ColorStride = device.ColorStride;
  const int v = Random(5);
  MaxLifeFrames = 0;
  for (uint16_t i = 0; i < StarCount; ++i) {
    const TCompPartics& from = part.Stars[i];
    TBasePartics& star = Stars[i];
    star.Alive = false;
    star.PosX = x;
    star.PosY = y;
    star.PosZ = z;
    star.Vel0X = BaseVelX + from.VelX[v];
    star.Vel0Y = BaseVelY + from.VelY[v];
    star.Vel0Z = BaseVelZ + from.VelZ[v];
    Launch(star, star.Vel0X, star.Vel0Y, star.Vel0Z);
    star.LifeFrames = static_cast<uint32_t>(std::max(from.LifeFrames, 1));
    star.Encoded = device.Colors.data() + device.ColorStart[i];
    if (TrailExists) star.Alphas = device.Alphas.data() + device.ColorStart[i];
    if (from.Colors.size() < star.LifeFrames) {
      // Only a hand-made part can be short of colours: the star flies as long as its table.
      star.LifeFrames = static_cast<uint32_t>(from.Colors.size());
      if (star.LifeFrames == 0) {
        star.LifeFrames = 1;
        star.Encoded = &kWhiteEncoded;
        star.Alphas = &kWhiteAlpha;
      }
    }
    star.Age = 0;
    star.NextParFrame = static_cast<uint32_t>(from.NextParFrame);
    star.NextParSpawned = false;
    MaxLifeFrames = std::max(MaxLifeFrames, star.LifeFrames);
  }
  Frame = 0;
  Emitted = 0;
  Dead = 0;
  EmitAccumulator = 0;
  Finished = false;
  Ready = true;
}

void StepSet(CompileContext& context, CSet& s) {
  if (!s.Ready) return;
  if (s.StarKind == StarKind::Progressive) {
    ReleaseProgressive(context, s);
  } else {
    ReleaseExplosive(s);
  }
  MoveStars(context, s);
  assert(s.Dead <= s.Emitted && s.Emitted <= s.StarCount);
  SpawnWholeEffect(context, s);
  if (s.Frame >= s.EffectFrames - 1 && s.Dead == s.Emitted) {
    s.Ready = false;
    s.Finished = true;
    s.Frame = s.EffectFrames - 1;
    return;
  }
  ++s.Frame;
  MoveEmitter(context, s);
}

}  // namespace orvane
