#pragma once
// The pieces recipes are made of: star devices with the window's defaults, lives in
// frames, chain links by index, and the colour plans of the burst types.

#include <cstdint>
#include <vector>

#include "effects/effect_description.h"
#include "model/device.h"

namespace orvane::recipe {

// Scene units of a length in metres at the recipes' scale.
double Units(double metres);

// A quantity that grows with calibre, given at 50 and 150 mm (straight line between and beyond).
double AtCalibre(double calibreMm, double at50, double at150);

int Whole(double value);

// An explosive sub-device with homogeneous speeds over the whole sphere, white, no trail.
TBaseDevice StarDevice();

// Stars live up to `frames` (the longest lives frames - 1) and at least minPercent of it.
void SetLife(TBaseDevice& device, int frames, int minPercent);
int LifeFrames(const TBaseDevice& device);
// A progressive device running effectFrames whose stars live up to lifeFrames each.
void SetProgressiveLife(TBaseDevice& device, int effectFrames, int lifeFrames, int minPercent);

void SetTrail(TBaseDevice& device, int lifePercent);

// Links hold chain indices until AssignCodes.
void ChainEffect(TBaseDevice& from, int index, int startPercent);
void ChainStars(TBaseDevice& from, int index, int startPercent);

// Appends devices whose links are indices among themselves, shifting them by `offset`.
void AppendShifted(std::vector<TBaseDevice>& chain, const std::vector<TBaseDevice>& devices, int offset);

// Colour plans. Each keeps to five segments with a change.
// A white flash into the colour, held, then faded from fadeFrom per cent.
SegmentList FlashColours(const ColourGroup& colours, int fadeFrom);
// The colour, held, then faded (with a change mixed half way); held to the end at 100.
SegmentList PlainColours(const ColourGroup& colours, int fadeFrom);
// Gold trailing stars whose tips turn to the colours late in life.
SegmentList TippedColours(const ColourGroup& colours, uint32_t gold);
// Steady for the first blinkFrom per cent (from white), then blinking, fading from fadeFrom.
SegmentList BlinkingColours(const ColourGroup& colours, int blinkFrom, int fadeFrom);

}  // namespace orvane::recipe
