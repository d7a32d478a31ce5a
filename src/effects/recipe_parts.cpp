#include "effects/recipe_parts.h"

#include <cassert>
#include <cmath>

#include "effects/effect_targets.h"
#include "model/color_segment.h"

namespace orvane::recipe {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int kMixSpan = 6;  // per cent of life a colour change takes

uint8_t Pos(int percent) {
  assert(percent >= 0 && percent <= 100);
  return static_cast<uint8_t>(percent);
}

ColorSegment Held(int from, int to, uint32_t colour, uint8_t flags = 0) {
  return NewColorSegment(Pos(from), Pos(to), flags, colour, colour);
}

ColorSegment Mixed(int from, int to, uint32_t a, uint32_t b, uint8_t flags = 0) {
  return NewColorSegment(Pos(from), Pos(to), static_cast<uint8_t>(flags | kMixColor), a, b);
}

}  // namespace

double Units(double metres) { return RecipeUnits(metres); }

double AtCalibre(double calibreMm, double at50, double at150) {
  return at50 + (calibreMm - 50.0) / 100.0 * (at150 - at50);
}

int Whole(double value) { return static_cast<int>(std::lround(value)); }

TBaseDevice StarDevice() {
  TBaseDevice d;
  d.ProjectionXY = 0;
  d.OpeningXY = 360;
  d.ProjectionXZ = 0;
  d.OpeningXZ = 180;
  d.StarQuantity = 1;
  d.StarKind = StarKind::Explosive;
  d.SpeedKind = SpeedKind::Homogeneous;
  d.StarWeight = 39;
  d.StarSpeed = 10;
  d.StarResistance = 50;
  d.StarSize = 10;
  d.MaxStarLife = 100;
  d.MinStarLife = 100;
  d.Definition.Active = true;
  d.Definition.Kind = true;
  return d;
}

void SetLife(TBaseDevice& d, int frames, int minPercent) {
  assert(frames >= 2);
  // EffectFrames - 1 is the longest life at MaxStarLife 100.
  d.EffectLength = (frames + 1) * 40;
  d.Definition.EffectLength = d.EffectLength;
  d.MaxStarLife = 100;
  d.MinStarLife = minPercent;
}

int LifeFrames(const TBaseDevice& d) { return Whole((d.EffectLength / 40 - 1) * (d.MaxStarLife / 100.0)); }

void SetProgressiveLife(TBaseDevice& d, int effectFrames, int lifeFrames, int minPercent) {
  assert(lifeFrames >= 2 && lifeFrames < effectFrames);
  d.EffectLength = effectFrames * 40;
  d.Definition.EffectLength = d.EffectLength;
  d.MaxStarLife = Whole(100.0 * lifeFrames / (effectFrames - 1));
  d.MinStarLife = minPercent;
}

void SetTrail(TBaseDevice& d, int lifePercent) {
  d.TrailExists = true;
  d.TrailLife = lifePercent;
}

void ChainEffect(TBaseDevice& from, int index, int startPercent) {
  from.NextEffExists = true;
  from.NextEffCode = index;
  from.NextEffStart = startPercent;
}

void ChainStars(TBaseDevice& from, int index, int startPercent) {
  from.NextParExists = true;
  from.NextParCode = index;
  from.NextParStart = startPercent;
}

void AppendShifted(std::vector<TBaseDevice>& chain, const std::vector<TBaseDevice>& devices, int offset) {
  for (TBaseDevice d : devices) {
    if (d.NextEffExists) d.NextEffCode += offset;
    if (d.NextParExists) d.NextParCode += offset;
    chain.push_back(std::move(d));
  }
}

SegmentList FlashColours(const ColourGroup& c, int fadeFrom) {
  constexpr int kFlash = 6;
  const uint32_t a = c.First.Color;
  if (!c.Then) return {Mixed(0, kFlash, kWhite, a), Held(kFlash, fadeFrom, a), Held(fadeFrom, 100, a, kFadeOut)};
  const uint32_t b = c.Then->Color;
  const int mid = (kFlash + fadeFrom) / 2;
  return {Mixed(0, kFlash, kWhite, a), Held(kFlash, mid, a), Mixed(mid, mid + kMixSpan, a, b),
          Held(mid + kMixSpan, fadeFrom, b), Held(fadeFrom, 100, b, kFadeOut)};
}

SegmentList PlainColours(const ColourGroup& c, int fadeFrom) {
  const uint32_t a = c.First.Color;
  if (!c.Then && fadeFrom == 100) return {Held(0, 100, a)};
  if (!c.Then) return {Held(0, fadeFrom, a), Held(fadeFrom, 100, a, kFadeOut)};
  const uint32_t b = c.Then->Color;
  const int mid = fadeFrom / 2;
  return {Held(0, mid, a), Mixed(mid, mid + kMixSpan, a, b), Held(mid + kMixSpan, fadeFrom, b),
          Held(fadeFrom, 100, b, kFadeOut)};
}

SegmentList TippedColours(const ColourGroup& c, uint32_t gold) {
  const uint32_t a = c.First.Color;
  if (!c.Then) {
    if (a == gold) return {Held(0, 75, gold), Held(75, 100, gold, kFadeOut)};
    return {Held(0, 60, gold), Mixed(60, 66, gold, a), Held(66, 82, a), Held(82, 100, a, kFadeOut)};
  }
  const uint32_t b = c.Then->Color;
  return {Held(0, 55, gold), Mixed(55, 60, gold, a), Held(60, 72, a), Mixed(72, 78, a, b), Held(78, 100, b, kFadeOut)};
}

SegmentList BlinkingColours(const ColourGroup& c, int blinkFrom, int fadeFrom) {
  const uint32_t a = c.First.Color;
  if (!c.Then && blinkFrom == 0) return {Held(0, fadeFrom, a, kBlink), Held(fadeFrom, 100, a, kBlink | kFadeOut)};
  if (!c.Then)
    return {Mixed(0, blinkFrom, kWhite, a), Held(blinkFrom, fadeFrom, a, kBlink),
            Held(fadeFrom, 100, a, kBlink | kFadeOut)};
  const uint32_t b = c.Then->Color;
  const int mid = (blinkFrom + fadeFrom) / 2;
  return {Mixed(0, blinkFrom, kWhite, a), Held(blinkFrom, mid, a, kBlink), Mixed(mid, fadeFrom, a, b, kBlink),
          Held(fadeFrom, 100, b, kBlink | kFadeOut)};
}

}  // namespace orvane::recipe
