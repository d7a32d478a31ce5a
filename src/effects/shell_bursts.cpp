#include "effects/shell_bursts.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>

#include "effects/effect_targets.h"
#include "effects/flight.h"
#include "effects/recipe_parts.h"
#include "model/form_ranges.h"

namespace orvane::recipe {
namespace {

constexpr double kDegrees = std::numbers::pi / 180.0;
constexpr uint32_t kGold = 0x46B4FF;

// What the stars of a burst do for a calibre: its spread and what the description adds.
struct Sizing {
  double Calibre = 0;  // mm
  double Reach = 0;    // units: the spread the widest star must cover
  double Height = 0;   // units: the break height
  double StarFactor = 1;
  int Groups = 1;

  // A star count that grows with calibre, shared among the colour groups.
  int Stars(double at50, double at150) const {
    return std::max(1, Whole(AtCalibre(Calibre, at50, at150) * StarFactor / Groups));
  }
  int Frames(double seconds50, double seconds150) const {
    return std::max(4, Whole(AtCalibre(Calibre, seconds50, seconds150) * 25.0));
  }
};

// The speed at which the longest-lived star covers `reach` across. `gain` is the share of
// that distance the measured spread keeps (star directions off the horizontal, lives
// below the longest), fitted by the calibration.
int SpeedForReach(const TBaseDevice& d, double reach, double gain) {
  const Flight flight = FlightOf(d.StarResistance, d.StarWeight);
  return StarSpeedFor(reach / gain / flight.Across(1.0, LifeFrames(d) - 1));
}

// The weight that lets a star launched across sag `drop` units by the end of its life.
int WeightForSag(const TBaseDevice& d, double drop) {
  const double perWeight = -FlightOf(d.StarResistance, 1).Up(0.0, LifeFrames(d) - 1);
  return std::clamp(Whole(drop / perWeight), 0, kWeightRange.Max);
}

// A burst's stars at 50 and 150 mm (in between and beyond on a straight line).
struct StarPlan {
  double Stars50, Stars150;
  double Seconds50, Seconds150;  // the longest life
  int MinLife;                   // per cent of the longest
  int Resistance, Weight;
  int Size50, Size150;
  int Trail50 = 0, Trail150 = 0;  // trail life, per cent; 0: none unless asked "with trails"
  int AskedTrail = 20;            // "with trails" on stars that have none
};

// clang-format off
//                                   stars      life s    min res wt  size    trail
constexpr StarPlan kPeonyPlan =     {44, 226,  1.5, 3.0,  80,  80, 25, 12, 16};
constexpr StarPlan kChrysanthemum = {38, 81,   1.6, 3.0,  80,  80, 25, 10, 10, 30, 17};
// Small stars drop two trail particles a frame, so long trails stay within the pool; the
// weight is set for the sag.
constexpr StarPlan kWillowPlan =    {32, 32,   4.0, 6.0,  85, 100,  0,  5,  5, 45, 30};
constexpr StarPlan kPalmPlan =      {7, 13,    2.5, 4.0,  90,  60, 60, 14, 14, 35, 35};
constexpr StarPlan kStrobePlan =    {40, 110,  2.0, 3.5,  85,  70, 15, 12, 12,  0,  0, 15};
// Lives from 55 % so the pops come one after another.
constexpr StarPlan kCracklePlan =   {30, 70,   1.2, 2.2,  55,  80, 25, 10, 10};
// clang-format on

TBaseDevice Planned(const Sizing& s, const EffectDescription& d, const StarPlan& plan) {
  TBaseDevice dev = StarDevice();
  dev.StarQuantity = static_cast<uint16_t>(s.Stars(plan.Stars50, plan.Stars150));
  dev.StarResistance = plan.Resistance;
  dev.StarWeight = plan.Weight;
  dev.StarSize = Whole(AtCalibre(s.Calibre, plan.Size50, plan.Size150));
  SetLife(dev, s.Frames(plan.Seconds50, plan.Seconds150), plan.MinLife);
  if (plan.Trail50 > 0) {
    SetTrail(dev, Whole(AtCalibre(s.Calibre, plan.Trail50, plan.Trail150)));
  } else if (d.Trails) {
    SetTrail(dev, plan.AskedTrail);
  }
  return dev;
}

TBaseDevice Peony(const Sizing& s, const EffectDescription& d, const ColourGroup& colours) {
  TBaseDevice dev = Planned(s, d, kPeonyPlan);
  // The trail pool thins itself beyond about 3000 particles.
  if (d.Trails) dev.StarQuantity = std::min<uint16_t>(dev.StarQuantity, static_cast<uint16_t>(s.Stars(40, 80)));
  dev.ColorData = FlashColours(colours, 70);
  dev.StarSpeed = SpeedForReach(dev, s.Reach, 0.97);
  return dev;
}

TBaseDevice Chrysanthemum(const Sizing& s, const EffectDescription& d, const ColourGroup& colours) {
  TBaseDevice dev = Planned(s, d, kChrysanthemum);
  dev.ColorData = TippedColours(colours, kGold);
  dev.StarSpeed = SpeedForReach(dev, s.Reach, 0.97);
  return dev;
}

TBaseDevice Willow(const Sizing& s, const EffectDescription& d, const ColourGroup& colours) {
  TBaseDevice dev = Planned(s, d, kWillowPlan);
  dev.StarWeight = WeightForSag(dev, 0.45 * s.Height);
  dev.ColorData = PlainColours(colours, 70);
  dev.StarSpeed = SpeedForReach(dev, s.Reach, 0.97);
  return dev;
}

TBaseDevice Palm(const Sizing& s, const EffectDescription& d, const ColourGroup& colours) {
  constexpr int kLowestFrond = 20;  // degrees above the horizon
  TBaseDevice dev = Planned(s, d, kPalmPlan);
  dev.ProjectionXY = 90;
  dev.OpeningXY = 180 - 2 * kLowestFrond;
  dev.ColorData = PlainColours(colours, 75);
  dev.StarSpeed = SpeedForReach(dev, s.Reach / std::cos(kLowestFrond * kDegrees), 0.96);
  return dev;
}

TBaseDevice Strobe(const Sizing& s, const EffectDescription& d, const ColourGroup& colours) {
  TBaseDevice dev = Planned(s, d, kStrobePlan);
  dev.ColorData = BlinkingColours(colours, 12, 80);
  dev.StarSpeed = SpeedForReach(dev, s.Reach, 0.97);
  return dev;
}

TBaseDevice CrackleStar(const Sizing& s, const EffectDescription& d, const ColourGroup& colours) {
  TBaseDevice dev = Planned(s, d, kCracklePlan);
  dev.ColorData = PlainColours(colours, 90);
  // The pops carry on a little beyond where the stars end.
  dev.StarSpeed = SpeedForReach(dev, s.Reach * 0.82, 0.97);
  return dev;
}

TBaseDevice CracklePop(const Sizing& s) {
  TBaseDevice dev = StarDevice();
  dev.StarQuantity = 12;
  dev.StarResistance = 100;
  dev.StarWeight = 20;
  dev.StarSize = 8;
  SetLife(dev, 12, 60);
  dev.ColorData = BlinkingColours({*EffectColourNamed("white"), std::nullopt}, 0, 50);
  dev.StarSpeed = std::max(1, SpeedForReach(dev, s.Reach * 0.1, 1.0));
  return dev;
}

// Devices each taking one colour group, started together: the first chains the next at once.
template <class MakeStars>
std::vector<TBaseDevice> Groups(const Sizing& s, const EffectDescription& d, MakeStars make) {
  std::vector<TBaseDevice> devices;
  for (const ColourGroup& colours : d.Colours) devices.push_back(make(s, d, colours));
  for (size_t i = 0; i + 1 < devices.size(); ++i) ChainEffect(devices[i], static_cast<int>(i + 1), 0);
  return devices;
}

std::vector<TBaseDevice> Ring(const Sizing& s, const EffectDescription& d) {
  const ColourGroup& colours = d.Colours.front();
  TBaseDevice half = StarDevice();
  half.StarQuantity = static_cast<uint16_t>(s.Stars(16, 32));
  half.StarResistance = 70;
  half.StarWeight = 10;
  half.StarSize = 12;
  // One life for every star keeps the ring's edge sharp.
  SetLife(half, s.Frames(1.4, 2.4), 100);
  if (d.Trails) SetTrail(half, 20);
  half.ColorData = FlashColours(colours, 70);
  half.StarSpeed = SpeedForReach(half, s.Reach, 1.0);
  if (d.Plane == RingPlane::kHorizontal) {
    // A flat opening fills its whole horizontal circle.
    half.ProjectionXY = 0;
    half.OpeningXY = 1;
    half.OpeningXZ = 360;
    half.StarQuantity = static_cast<uint16_t>(2 * half.StarQuantity);
    return {half};
  }
  // A one-degree-thick opening fills only the first half of its circle: two halves.
  half.ProjectionXY = 0;
  half.OpeningXY = 360;
  half.OpeningXZ = 1;
  TBaseDevice upper = half;
  upper.ProjectionXY = 180;
  ChainEffect(half, 1, 0);
  return {half, upper};
}

std::vector<TBaseDevice> Crossette(const Sizing& s, const EffectDescription& d) {
  constexpr double kCometShare = 0.6;  // of the spread; the arms cover the rest
  constexpr double kCrossetteGain = 1.0;
  constexpr int kArmAngles[] = {30, 120, 210, 300};
  const ColourGroup& colours = d.Colours.front();
  TBaseDevice comet = StarDevice();
  comet.StarQuantity = static_cast<uint16_t>(s.Stars(6, 14));
  comet.StarResistance = 60;
  comet.StarWeight = 20;
  comet.StarSize = 12;
  SetLife(comet, s.Frames(1.0, 1.6), 100);
  SetTrail(comet, 40);
  comet.ColorData = PlainColours({colours.First, std::nullopt}, 100);
  comet.StarSpeed = SpeedForReach(comet, kCometShare * s.Reach, kCrossetteGain);
  ChainStars(comet, 1, 100);
  // The arms carry on with the comet's last move.
  const Flight cometFlight = FlightOf(comet.StarResistance, comet.StarWeight);
  const double carried = comet.StarSpeed * SpeedPerStep() * std::exp(-cometFlight.Drag * (LifeFrames(comet) - 1)) *
                         std::expm1(cometFlight.Drag) / cometFlight.Drag;
  std::vector<TBaseDevice> devices = {comet};
  for (size_t i = 0; i < std::size(kArmAngles); ++i) {
    TBaseDevice arm = StarDevice();
    arm.ProjectionXY = static_cast<int16_t>(kArmAngles[i]);
    arm.OpeningXY = 1;
    arm.OpeningXZ = 1;
    arm.StarResistance = 60;
    arm.StarWeight = 20;
    arm.StarSize = 10;
    SetLife(arm, s.Frames(0.6, 1.0), 100);
    SetTrail(arm, 40);
    arm.ColorData = PlainColours({colours.Then.value_or(colours.First), std::nullopt}, 60);
    const Flight armFlight = FlightOf(arm.StarResistance, arm.StarWeight);
    const double armReach =
        (1 - kCometShare) * s.Reach / kCrossetteGain - armFlight.Across(carried, LifeFrames(arm) - 1);
    arm.StarSpeed = std::max(1, SpeedForReach(arm, armReach / std::cos(30 * kDegrees), 1.0));
    // Each arm starts the next, so one comet's end makes all four.
    if (i + 1 < std::size(kArmAngles)) ChainEffect(arm, static_cast<int>(i + 2), 0);
    devices.push_back(arm);
  }
  return devices;
}

}  // namespace

ShellBurst BurstFor(const EffectDescription& d) {
  Sizing s;
  s.Calibre = d.CalibreMm();
  s.Reach = Units(TargetSpreadM(s.Calibre));
  s.Height = Units(TargetBreakHeightM(s.Calibre));
  s.StarFactor = d.Dense ? 1.5 : 1.0;
  s.Groups = static_cast<int>(d.Colours.size());
  ShellBurst burst;
  switch (d.BurstType()) {
    case EffectType::kPeony: burst.Devices = Groups(s, d, Peony); break;
    case EffectType::kChrysanthemum: burst.Devices = Groups(s, d, Chrysanthemum); break;
    case EffectType::kWillow: burst.Devices = Groups(s, d, Willow); break;
    case EffectType::kPalm:
      burst.Devices = Groups(s, d, Palm);
      // The palm's trunk: a thick trailing lift in the fronds' colour.
      burst.Lift = {20, 60, d.Colours.front().First.Color};
      break;
    case EffectType::kRing: burst.Devices = Ring(s, d); break;
    case EffectType::kCrossette: burst.Devices = Crossette(s, d); break;
    case EffectType::kStrobe: burst.Devices = Groups(s, d, Strobe); break;
    case EffectType::kCrackle: {
      burst.Devices = Groups(s, d, CrackleStar);
      const int pop = static_cast<int>(burst.Devices.size());
      for (TBaseDevice& star : burst.Devices) ChainStars(star, pop, 100);
      burst.Devices.push_back(CracklePop(s));
      break;
    }
    default: assert(!"not an aerial type");
  }
  return burst;
}

}  // namespace orvane::recipe
