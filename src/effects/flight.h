#pragma once
// How far a star of the record flies, as the compiler steps it: per frame the drag law's
// displacement, so n moves cover e^k (1 - e^(-kn)) / k of the launch speed (not the
// continuous law's (1 - e^(-kn)) / k, which comes out a few per cent short). Scene units and
// frames; the record's conversions come from the compiler's own CompiledScalars.

#include "model/device.h"

namespace orvane {

struct Flight {
  double Drag = 0;  // k, per frame
  double Fall = 0;  // gravity, units per frame², positive downwards

  // Horizontal distance after `moves` frames of a star launched at `speed` across.
  double Across(double speed, int moves) const;
  // Height gained after `moves` frames of a star launched at `speed` upwards.
  double Up(double speed, int moves) const;
  // The move count that leaves the star highest (its last move still rising).
  int MovesToApex(double speed) const;
  double Apex(double speed) const { return Up(speed, MovesToApex(speed)); }
};

// The flight of stars with these record settings (StarResistance, StarWeight).
Flight FlightOf(int resistance, int weight);

// Launch speed in units per frame of one step of StarSpeed.
double SpeedPerStep();

// The StarSpeed (0..100) whose apex comes nearest `height` for this flight, launched with
// `upward` of its speed upwards (the sine of its elevation).
int StarSpeedForApex(const Flight& flight, double height, double upward = 1.0);

// How far across from its firing position a one-star device (a lift) ends its life.
double LiftBreakOffset(const TBaseDevice& lift);

// The StarSpeed (0..100) nearest to a launch speed in units per frame.
int StarSpeedFor(double speed);

}  // namespace orvane
