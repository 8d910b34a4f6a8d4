#pragma once
// The circuit a potentiometer goes into: a linear track, the resistor fitted
// across part of it, the load on its wiper; and the one loaded curve that the
// window, its files, the finder and the tolerance bands all compute.
#include <limits>
#include <optional>

namespace dorvane {

// R1 across the upper part of the track (between the top and the wiper),
// R2 across the lower part (between the wiper and the bottom).
enum class Fitted { R1, R2 };

struct Circuit {
  double p = 0;                                               // the whole track, in ohms
  std::optional<Fitted> fitted;                               // none: the bare track
  double resistor = std::numeric_limits<double>::infinity();  // the fitted one's ohms
  double loadOhms = std::numeric_limits<double>::infinity();  // wiper to bottom; +infinity: none
};

// a in parallel with b (+infinity: no b). a b / (a + b) where that product
// is a normal double, so the usual values give the usual numbers; beyond,
// the same value computed so that no step overflows or underflows. NaN or
// infinite where a step divides by zero or has no defined result.
double ParallelOhms(double a, double b);

// The share of the input (0..1) at the wiper at t (0..1 of the travel): the
// track split at t into an upper part (1 - t) p and a lower part t p, the
// fitted resistor across its part, the load across the lower part. Not finite
// where a step divides by zero, has no defined result or overflows.
double LoadedShare(const Circuit& circuit, double t);

// A resistor fitted or a load on the wiper: the circuit has a curve of its
// own beside the bare track's.
bool HasLoadedCurve(const Circuit& circuit);

// LoadedShare in percent; NaN where it has no value. Every reader of the
// loaded curve says "no value" this way: the plotted lists put such a point
// at 0, the tool tip writes "-".
double LoadedPercent(const Circuit& circuit, double t);

// The spread of the parts: the lowest and highest curve, in percent, over P1
// and the fitted resistor at -/+ their tolerances (in percent, 0 to under
// 100), the load taken as exact. NaN for both where a tolerance is out of
// range or a corner cannot be computed.
struct PercentBand {
  double low;
  double high;
};
PercentBand LoadedBand(const Circuit& circuit, double t, double p1TolerancePercent,
                       double resistorTolerancePercent);

}  // namespace dorvane
