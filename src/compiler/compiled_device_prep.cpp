#include "compiler/compiled_device_prep.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <new>
#include <utility>

#include "util/random.h"
#include "util/rounding.h"

namespace orvane {
namespace {

constexpr double kRadiansPerDegree = 0.0174532925199433;
constexpr int kShufflePasses = 12;

// Integer arithmetic of the record wraps at 16 bits where the field is 16 bits wide.
int16_t Wrap16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(v))); }

float Ratio(int32_t value, double divisor) { return F32(static_cast<double>(value) / divisor); }

void DrawLaunchVariant(const TCompDevice& part, int a, int b, int dXY, int dXZ, TCompPartics& star, int v) {
  const int s = Random(100) <= 50 ? -1 : 1;
  const float angleA = F32(a + s * Random(dXY * 100) / 1000.0);
  const float angleB = F32(b + s * Random(dXZ * 100) / 1000.0);
  float speed;
  if (part.SpeedKind == SpeedKind::Random) {
    const float half = part.Speed / 2;
    const int32_t r = Random(Trunc(half));
    speed = F32(r + half) / 1000;
  } else {
    speed = part.Speed / 1000;
  }
  const double ra = angleA * kRadiansPerDegree;
  const double rb = angleB * kRadiansPerDegree;
  star.VelX[v] = F32(speed * std::cos(ra) * std::cos(rb));
  star.VelY[v] = F32(speed * std::sin(ra));
  star.VelZ[v] = F32(speed * std::cos(ra) * std::sin(rb));
}

void FillStar(TCompDevice& part, int a, int b, int dXY, int dXZ, TCompPartics& star) {
  ReseedFromClock();
  for (int v = 0; v < 5; ++v) DrawLaunchVariant(part, a, b, dXY, dXZ, star, v);
  star.LifeFrames = part.MinLifeFrames + Random(part.MaxLifeFrames - part.MinLifeFrames);
  if (star.LifeFrames == 0) star.LifeFrames = 1;
  star.NextParFrame =
      part.NextParExists ? RoundHalfEven(F32(static_cast<float>(star.LifeFrames - 1) * part.NextParFactor)) : 0;
}

bool FillColorTables(TCompDevice& part, const SegmentList& segments) {
  int64_t entries = 0;
  for (TCompPartics& star : part.Stars) {
    if (star.LifeFrames == 0) star.LifeFrames = 1;
    // Nonsense lives (only a damaged file can make them) are refused, not allocated.
    if (star.LifeFrames < 0) return false;
    entries += star.LifeFrames;
    if (entries > kMaxColorEntries) return false;
  }
  for (TCompPartics& star : part.Stars) {
    star.Colors.resize(static_cast<size_t>(star.LifeFrames));
    for (int32_t j = 0; j < star.LifeFrames; ++j) star.Colors[j] = FrameColorAt(segments, j, star.LifeFrames);
  }
  return true;
}

void ShuffleStars(TCompDevice& part) {
  ReseedFromClock();
  const int32_t n = part.StarQuantity;
  for (int pass = 0; pass < kShufflePasses; ++pass) {
    for (int32_t i = 0; i < n; ++i) {
      const int32_t r = Random(n);
      std::swap(part.Stars[i], part.Stars[r]);
    }
  }
}

// What the particle sets rely on: every star of StarQuantity is there, lives at least a
// frame and has a colour for each frame of its life.
[[maybe_unused]] bool TablesComplete(const TCompDevice& part) {
  if (part.Stars.size() != part.StarQuantity || part.EffectFrames < 1) return false;
  return std::all_of(part.Stars.begin(), part.Stars.end(), [](const TCompPartics& star) {
    return star.LifeFrames >= 1 && star.Colors.size() == static_cast<size_t>(star.LifeFrames);
  });
}

uint8_t ChannelByte(float value) {
  if (value > 255.0f) value = 255.0f;
  if (!(value >= 0.0f)) value = 0.0f;
  return static_cast<uint8_t>(RoundHalfEven(value));
}

}  // namespace

std::array<float, 3> ColorToVec(uint32_t color) {
  const auto bytes = ColorBytes(color);
  return {F32(bytes[0] / 255.0), F32(bytes[1] / 255.0), F32(bytes[2] / 255.0)};
}

FrameColor FrameColorAt(const SegmentList& segments, int32_t j, int32_t n) {
  const float e = F32(n / 100.0);
  const float fj = static_cast<float>(j);
  const ColorSegment* seg = nullptr;
  for (const ColorSegment& s : segments) {
    if (s.InitialPos * e <= fj && fj <= s.FinalPos * e) {
      seg = &s;
      break;
    }
  }
  if (seg == nullptr) return {1.0f, 1.0f, 1.0f, 1.0f};

  const float pos = fj - seg->InitialPos * e;
  float g = 1.0f;
  if (seg->Flags & kFadeOut) {
    const float span = (seg->FinalPos - seg->InitialPos) * e;
    g = (span - pos) / span;
  }
  std::array<uint8_t, 3> rgb{};
  for (int ch = 0; ch < 3; ++ch) {
    const float rate = (seg->Flags & kMixColor) ? seg->ColorRate[ch] / n : 0.0f;
    rgb[ch] = ChannelByte(seg->InitialRGB[ch] + pos * rate);
  }
  const uint32_t color = rgb[0] | (rgb[1] << 8) | (static_cast<uint32_t>(rgb[2]) << 16);
  const auto vec = ColorToVec(color);
  const float alpha = (seg->Flags & kBlink) ? Random(2) * g : g;
  return {vec[0], vec[1], vec[2], alpha};
}

TCompDevice CompiledScalars(const TBaseDevice& d) {
  TCompDevice c;
  c.Code = d.Definition.Code;
  c.StarQuantity = d.StarQuantity;
  c.BestX = d.BestX;
  c.BestY = d.BestY;
  c.BestZ = d.BestZ;
  c.AngleXYFrom = Wrap16(d.ProjectionXY - d.OpeningXY / 2);
  c.AngleXYTo = Wrap16(c.AngleXYFrom + d.OpeningXY);
  c.AngleXZFrom = Wrap16(d.ProjectionXZ - d.OpeningXZ / 2);
  c.AngleXZTo = Wrap16(c.AngleXZFrom + d.OpeningXZ);
  c.EffectFrames = static_cast<uint32_t>(d.EffectLength) / 40u;
  if (c.EffectFrames == 0) c.EffectFrames = 1;
  c.MaxLifeFrames = RoundHalfEven((c.EffectFrames - 1) * (d.MaxStarLife / 100.0));
  c.MinLifeFrames = RoundHalfEven(c.MaxLifeFrames * (d.MinStarLife / 100.0));
  c.Gravity = Ratio(d.StarWeight, -50000.0);
  c.Speed = static_cast<float>(static_cast<int32_t>(static_cast<uint32_t>(d.StarSpeed) * 3u));
  c.Resistance = Ratio(d.StarResistance, 5000.0);
  c.Size = Ratio(d.StarSize, 100.0);
  c.StarKind = d.StarKind;
  c.SpeedKind = d.SpeedKind;
  c.TrailExists = d.TrailExists ? 1 : 0;
  c.TrailFactor = Ratio(d.TrailLife, 100.0);
  c.NextEffExists = d.NextEffExists ? 1 : 0;
  c.NextEffCode = d.NextEffExists ? d.NextEffCode : 0;
  c.NextEffFactor = d.NextEffExists ? Ratio(d.NextEffStart, 100.0) : -1.0f;
  c.NextParExists = d.NextParExists ? 1 : 0;
  c.NextParCode = d.NextParExists ? d.NextParCode : 0;
  c.NextParFactor = d.NextParExists ? Ratio(d.NextParStart, 100.0) : -1.0f;
  return c;
}

void BuildStarTable(TCompDevice& part) {
  assert(part.Stars.size() == part.StarQuantity);
  const int dXY = part.AngleXYTo - part.AngleXYFrom;
  const int dXZ = part.AngleXZTo - part.AngleXZFrom;
  const int64_t cells = int64_t{dXY} * dXZ;
  const float step = cells != 0 ? F32(static_cast<double>(part.StarQuantity) / static_cast<double>(cells)) : 1.0f;
  const int32_t quantity = part.StarQuantity;
  float acc = 0.0f;
  int32_t i = 0;
  for (int a = part.AngleXYFrom; a <= part.AngleXYTo; ++a) {
    for (int b = part.AngleXZFrom; b <= part.AngleXZTo; ++b) {
      // Once every star is placed, or the float32 sum no longer grows, no later cell can
      // place one: stopping early changes nothing but spares huge grids from files.
      if (i >= quantity) return;
      const float next = acc + step;
      if (next == acc && Trunc(acc) <= i) return;
      acc = next;
      const int32_t t = Trunc(acc);
      if (i >= t) continue;
      const int32_t k = std::min(quantity, t) - i;
      for (int32_t m = 0; m < k; ++m) {
        FillStar(part, a, b, dXY, dXZ, part.Stars[i]);
        ++i;
      }
    }
  }
}

PrepareResult PrepareCompiledPart(TBaseDevice& device) {
  device.Compiled.reset();
  try {
    auto part = std::make_shared<TCompDevice>(CompiledScalars(device));
    part->Stars.resize(part->StarQuantity);
    BuildStarTable(*part);
    if (!FillColorTables(*part, device.ColorData)) return false;
    part->TableBytes = part->Stars.size() * sizeof(TCompPartics);
    for (const TCompPartics& star : part->Stars) part->TableBytes += star.Colors.size() * sizeof(FrameColor);
    ShuffleStars(*part);
    assert(TablesComplete(*part));
    device.Compiled = std::move(part);
    return true;
  } catch (const std::bad_alloc&) {
    return PrepareResult::ShortOfMemory();
  }
}

}  // namespace orvane
