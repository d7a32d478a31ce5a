#include "compiler/cue_firing.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>
#include <numeric>

#include "compiler/compile_context.h"
#include "compiler/show_record.h"

namespace orvane {

// The "diamond angle": 0..4 round the turn, monotonic in the true angle and free of atan2,
// which would cost a fifth of a compile with many low particles.
int FalloutSector(double dx, double dz) {
  double turn = 0;
  if (dz >= 0 && dx > 0) turn = dz / (dx + dz);
  else if (dz > 0 && dx <= 0) turn = 1 - dx / (dz - dx);
  else if (dz <= 0 && dx < 0) turn = 2 - dz / (-dx - dz);
  else if (dz < 0 && dx >= 0) turn = 3 + dx / (dx - dz);
  const int sector = static_cast<int>(turn * (kFalloutSectors / 4));
  return std::clamp(sector, 0, kFalloutSectors - 1);
}

double FalloutSectorStart(int sector) {
  const double turn = 4.0 * sector / kFalloutSectors;
  const double quadrant = std::floor(turn);
  const double part = turn - quadrant;
  return quadrant * std::numbers::pi / 2 + std::atan2(part, 1 - part);
}

CueFiring::CueFiring(const std::vector<RootCue>& cues, std::optional<double> falloutCeilingY)
    : cues_(cues),
      order_(cues.size()),
      extents_(cues.size()),
      radius2_(cues.size(), 0.0),
      falloutCeilingY_(falloutCeilingY) {
  std::iota(order_.begin(), order_.end(), 0u);
  std::stable_sort(order_.begin(), order_.end(),
                   [&cues](uint32_t a, uint32_t b) { return cues[a].Frame < cues[b].Frame; });
}

void CueFiring::Fire(CompileContext& context, uint64_t frame) {
  while (next_ < order_.size() && cues_[order_[next_]].Frame <= frame) {
    const uint32_t index = order_[next_++];
    const RootCue& cue = cues_[index];
    SnapshotDevice* device = context.Devices.Find(cue.Code);
    if (device == nullptr) continue;  // the snapshot was taken from these cues: not reached
    if (!context.Admit(uint64_t{device->Part->StarQuantity} + 1)) continue;
    CSet& set = context.Sets.Append(std::make_unique<CSet>(*device, cue.X, cue.Y, cue.Z, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f,
                                                           &context.Emitters.For(1.0f)));
    set.Cue = index;
  }
}

void CueFiring::Note(uint32_t cue, double x, double y, double z, uint64_t frame) {
  assert(cue < extents_.size());
  CueExtent& e = extents_[cue];
  // The positions are the particles' float32 ones, exact in double.
  if (!PositionFits(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z))) ++e.Culled;
  const RootCue& c = cues_[cue];
  const double dx = x - c.X;
  const double dz = z - c.Z;
  const double r2 = dx * dx + dz * dz;
  const double height = y - c.Y;
  if (!e.Seen) {
    e.Seen = true;
    e.FirstFrame = static_cast<uint32_t>(frame);
    e.Height = height;
    e.Lowest = y;
    radius2_[cue] = r2;
  } else {
    e.Height = std::max(e.Height, height);
    e.Lowest = std::min(e.Lowest, y);
    radius2_[cue] = std::max(radius2_[cue], r2);
  }
  e.LastFrame = static_cast<uint32_t>(frame);
  if (falloutCeilingY_ && y < *falloutCeilingY_) {
    // Squared until TakeExtents, as the radius.
    double& reach = e.FalloutReach[static_cast<size_t>(FalloutSector(dx, dz))];
    reach = std::max(reach, r2);
    e.FellLow = true;
  }
}

std::vector<CueExtent> CueFiring::TakeExtents() {
  for (size_t i = 0; i < extents_.size(); ++i) {
    extents_[i].Radius = std::sqrt(radius2_[i]);
    for (double& reach : extents_[i].FalloutReach) reach = std::sqrt(reach);
  }
  return std::move(extents_);
}

void CueFiring::NoteTrail(const CTrail& trail, uint64_t frame) {
  for (const TrailParticle& p : trail.Particles) Note(p.Cue, p.X, p.Y, p.Z, frame);
}

void CueFiring::NoteSpawn(const CSet& parent, const CSet& child, uint64_t frame) {
  assert(parent.Cue < extents_.size());
  CueExtent& e = extents_[parent.Cue];
  if (e.Broke) return;
  e.Broke = true;
  e.BreakFrame = static_cast<uint32_t>(frame);
  e.BreakHeight = static_cast<double>(child.OriginY) - cues_[parent.Cue].Y;
}

void CueFiring::NoteStars(const CSet& set, uint64_t frame) {
  for (const TBasePartics& star : set.Stars)
    if (star.Alive) Note(set.Cue, star.PosX, star.PosY, star.PosZ, frame);
}

}  // namespace orvane
