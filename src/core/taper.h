#pragma once
// Taper codes, the wiper's load, part tolerances and decibels: what decides
// how a fitted potentiometer sounds once it is in the circuit.
#include "core/circuit.h"

namespace dorvane {

// A commercial taper given by its value at mid travel, in percent of the track:
// y(x) = 100 (b^(x/100) - 1) / (b - 1) with b = (100/m - 1)^2; m = 50 is the straight line y = x.
// Exactly 0 at x = 0 and 100 at x = 100. NaN unless 0 < m < 100 and 0 <= x <= 100 (finite).
double TaperCodePercent(double midPercent, double positionPercent);

// The curve at the wiper, in percent of the input: the track p split at t = x/100 into an upper part
// (1 - t) p and a lower part t p; R1 across the upper part or R2 across the lower part; a load from the
// wiper to the bottom of the track (the next stage's input) across the lower part too. loadOhms = +infinity
// means no load. NaN for p or resistor not finite or <= 0, a load that is NaN or <= 0, x outside 0..100.
double LoadedPercentWithLoad(Fitted which, double p, double resistor, double loadOhms,
                             double positionPercent);

// The lowest and highest curve over the four corners: track p (1 -/+ potTolerance/100) and resistor
// resistor (1 -/+ resistorTolerance/100); the load taken as exact. {NaN, NaN} for a tolerance outside
// [0, 100) or when the curve is NaN at a corner.
PercentBand LoadedBandAt(Fitted which, double p, double potTolerancePercent, double resistor,
                         double resistorTolerancePercent, double loadOhms, double positionPercent);

// 20 log10(percent / 100): 0 dB at 100 %, -20 dB at 10 %; -infinity at 0; NaN for negative or non-finite.
double Decibels(double percent);

}  // namespace dorvane
