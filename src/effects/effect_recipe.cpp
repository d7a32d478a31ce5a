#include "effects/effect_recipe.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "effects/effect_targets.h"
#include "effects/flight.h"
#include "effects/recipe_parts.h"
#include "effects/shell_bursts.h"
#include "model/color_segment.h"

namespace orvane {
namespace {

using namespace recipe;

constexpr double kDegrees = std::numbers::pi / 180.0;
// A lift is a heavy star with the most drag the window allows, like a real shell's climb.
constexpr int kLiftResistance = 100;
constexpr int kLiftWeight = 39;  // 9.8 m/s² at 20 m per unit
// Cakes fire their shots this far apart, fanned this far either side of upright.
constexpr int kCakeShotFrames = 10;
constexpr double kCakeFanDegrees = 20;

// One star fired at `elevation` degrees whose chain (per star, at its last frame) starts
// chain index `burst` at the apex, `apex` units above the ground.
TBaseDevice Lift(double apex, double elevation, const LiftLook& look, int burst) {
  TBaseDevice d = StarDevice();
  d.ProjectionXY = static_cast<int16_t>(Whole(elevation));
  d.OpeningXY = 1;
  d.OpeningXZ = 1;
  d.StarResistance = kLiftResistance;
  d.StarWeight = kLiftWeight;
  d.StarSize = look.Size;
  SetTrail(d, look.TrailLife);
  const double upward = std::sin(d.ProjectionXY * kDegrees);
  const Flight flight = FlightOf(d.StarResistance, d.StarWeight);
  d.StarSpeed = StarSpeedForApex(flight, apex, upward);
  // The star's last move ends at the apex, where its chain starts the burst.
  SetLife(d, std::max(2, flight.MovesToApex(d.StarSpeed * SpeedPerStep() * upward)), 100);
  d.ColorData = {NewColorSegment(0, 100, 0, look.Colour, look.Colour)};
  if (burst >= 0) ChainStars(d, burst, 100);
  return d;
}

void Name(TBaseDevice& d, const char* part) { d.Definition.Name = part; }

std::vector<TBaseDevice> Shell(const EffectDescription& desc) {
  const ShellBurst burst = BurstFor(desc);
  std::vector<TBaseDevice> chain = {Lift(Units(TargetBreakHeightM(desc.CalibreMm())), 90, burst.Lift, 1)};
  Name(chain[0], "lift");
  AppendShifted(chain, burst.Devices, 1);
  return chain;
}

// The chain start per cent of a device living `lifeFrames` nearest to `frames` frames in.
int StartAtFrame(int lifeFrames, int frames) {
  int best = 0;
  for (int p = 0; p <= 100; ++p) {
    if (std::abs(Whole(lifeFrames * (p / 100.0)) - frames) < std::abs(Whole(lifeFrames * (best / 100.0)) - frames))
      best = p;
  }
  return best;
}

std::vector<TBaseDevice> Cake(const EffectDescription& desc) {
  const ShellBurst burst = BurstFor(desc);
  const int shots = desc.Shots;
  const double apex = Units(TargetBreakHeightM(desc.CalibreMm()));
  std::vector<TBaseDevice> chain;
  for (int k = 0; k < shots; ++k) {
    // A sweep from one side of the fan to the other.
    const double elevation = 90 + kCakeFanDegrees - 2 * kCakeFanDegrees * k / (shots - 1);
    TBaseDevice lift = Lift(apex, elevation, burst.Lift, shots);
    Name(lift, "shot");
    lift.Definition.Kind = k > 0;
    if (k + 1 < shots) ChainEffect(lift, k + 1, StartAtFrame(LifeFrames(lift), kCakeShotFrames));
    chain.push_back(std::move(lift));
  }
  AppendShifted(chain, burst.Devices, shots);
  return chain;
}

std::vector<TBaseDevice> Comet(const EffectDescription& desc) {
  const ColourGroup& colours = desc.Colours.front();
  TBaseDevice d = Lift(Units(TargetBreakHeightM(desc.CalibreMm())), 90, {25, 45, colours.First.Color}, -1);
  d.ColorData = PlainColours(colours, 70);
  Name(d, "comet");
  return {d};
}

// Stars from the ground in a narrow cone at random speeds up to the one whose apex is
// `height`; they burn out before the slowest falls back to the ground, and the cone is as
// wide as the spread needs.
struct Cone {
  int Speed = 0;       // StarSpeed
  int LifeFrames = 0;  // the longest
  int Opening = 0;     // degrees, the whole cone
};

// The gains are the shares of the ideal height and spread the measured ones keep: random
// speeds and lives rarely put the fastest, longest-lived star at the cone's edge.
struct ConeGains {
  double Height = 1;
  double Spread = 1;
};

Cone ConeFor(const Flight& flight, double height, double spread, ConeGains gains) {
  Cone cone;
  cone.Speed = StarSpeedForApex(flight, height / gains.Height);
  const double fastest = cone.Speed * SpeedPerStep();
  // Random speeds go down to half the star speed.
  int life = flight.MovesToApex(fastest);
  while (life > 2 && flight.Up(fastest / 2, life) < 0.05 * height) --life;
  cone.LifeFrames = life;
  const double across = flight.Across(fastest, life - 1) * gains.Spread;
  const double tilt = std::asin(std::min(1.0, spread / across)) / kDegrees;
  // Each launch variant wanders up to a tenth of the opening further.
  cone.Opening = std::clamp(Whole(2 * tilt / 1.1), 1, 180);
  return cone;
}

TBaseDevice GroundStars(const EffectDescription& desc, const ColourGroup& colours, ConeGains gains, int resistance,
                        int minLife) {
  TBaseDevice d = StarDevice();
  const double calibre = desc.CalibreMm();
  const Flight flight = FlightOf(resistance, 39);
  const Cone cone = ConeFor(flight, Units(TargetBreakHeightM(calibre)), Units(TargetSpreadM(calibre)), gains);
  d.ProjectionXY = 90;
  d.OpeningXY = static_cast<int16_t>(cone.Opening);
  d.StarResistance = resistance;
  d.StarWeight = 39;
  d.StarSpeed = cone.Speed;
  d.SpeedKind = SpeedKind::Random;
  d.StarSize = 10;
  SetLife(d, cone.LifeFrames, minLife);
  if (desc.Trails) SetTrail(d, 20);
  d.ColorData = FlashColours(colours, 70);
  return d;
}

std::vector<TBaseDevice> Mine(const EffectDescription& desc) {
  std::vector<TBaseDevice> chain;
  const double stars = AtCalibre(desc.CalibreMm(), 120, 200) * (desc.Dense ? 1.5 : 1.0);
  for (const ColourGroup& colours : desc.Colours) {
    TBaseDevice d = GroundStars(desc, colours, {0.95, 0.9}, 40, 100);
    d.StarQuantity = static_cast<uint16_t>(std::max(1, Whole(stars / desc.Colours.size())));
    Name(d, "mine");
    d.Definition.Kind = !chain.empty();
    if (!chain.empty()) ChainEffect(chain.back(), static_cast<int>(chain.size()), 0);
    chain.push_back(std::move(d));
  }
  return chain;
}

std::vector<TBaseDevice> Fountain(const EffectDescription& desc) {
  const double calibre = desc.CalibreMm();
  TBaseDevice d = GroundStars(desc, desc.Colours.front(), {0.97, 0.95}, 20, 100);
  const int life = LifeFrames(d);
  const int effectFrames = std::max(life + 2, Whole(AtCalibre(calibre, 15, 25) * 25));
  d.StarKind = StarKind::Progressive;
  // Enough stars that a few leave every frame.
  d.StarQuantity = static_cast<uint16_t>(std::max(1, Whole(life * 4.0 * (desc.Dense ? 1.5 : 1.0))));
  d.StarSize = 6;
  SetProgressiveLife(d, effectFrames, life, d.MinStarLife);
  d.ColorData = PlainColours(desc.Colours.front(), 60);
  Name(d, "fountain");
  d.Definition.Kind = false;
  return {d};
}

}  // namespace

EffectChain BuildEffectChain(const EffectDescription& desc) {
  EffectChain chain;
  chain.Description = desc;
  switch (desc.Type) {
    case EffectType::kCake: chain.Devices = Cake(desc); break;
    case EffectType::kComet: chain.Devices = Comet(desc); break;
    case EffectType::kMine: chain.Devices = Mine(desc); break;
    case EffectType::kFountain: chain.Devices = Fountain(desc); break;
    default: chain.Devices = Shell(desc); break;
  }
  chain.Devices.front().Definition.Kind = false;
  chain.Devices.front().BestY = kRecipeGroundY;
  for (TBaseDevice& d : chain.Devices) {
    if (d.Definition.Name.empty()) d.Definition.Name = "burst";
  }
  return chain;
}

Result<EffectChain> MakeEffect(const EffectDescription& desc, const CodeTaken& taken, int32_t firstCode) {
  EffectChain chain = BuildEffectChain(desc);
  if (auto assigned = AssignCodes(chain, taken, firstCode); !assigned) return assigned.Error();
  const std::string text = DescriptionText(desc);
  for (TBaseDevice& d : chain.Devices) {
    d.Definition.Name = text + ": " + d.Definition.Name;
    d.Definition.Description = text;
    d.Definition.Active = true;
    d.Definition.EffectLength = d.EffectLength;
  }
  return chain;
}

}  // namespace orvane
