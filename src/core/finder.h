#pragma once
// From the taper the user wants to the resistor to fit: the exact resistor,
// the standard values around it and how closely each imitates the ideal law.
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/circuit.h"

namespace dorvane {

// The resistor across the upper (R1) or the lower (R2) part of a linear track
// of total resistance p that puts the loaded curve at `percent` at the wiper
// position `positionPercent` (both in percent). Closed form. NaN when no
// positive, finite resistor does it: R2 only lowers the curve (needs
// 0 < percent < positionPercent < 100), R1 only raises it (needs
// 0 < positionPercent < percent < 100); NaN too for p <= 0 or any non-finite
// input.
double SolveFittedResistor(Fitted which, double p, double positionPercent, double percent);

enum class ESeries { E6, E12, E24, E48, E96, E192 };

// The preferred numbers of one decade as published, ascending from 1.0: E6,
// E12 and E24 with their historical values, E48, E96 and E192 with three
// significant digits (E192 has 9.20 where the formula gives 9.19).
std::vector<double> SeriesValues(ESeries series);

// The standard values nearest to `ohms`, from 1 ohm to the last value below
// 10^10 ohms: the `perSide` largest values <= ohms and the `perSide` smallest
// values > ohms, ascending (fewer at the ends of that range). Empty for a
// non-finite or non-positive ohms or perSide < 1.
std::vector<double> NearestStandardValues(ESeries series, double ohms, int perSide);

// The ideal law a montage imitates, at a position, in percent:
// y = 10^(x/50) for R2 (pseudo log) and y = 100 - 10^((100 - x)/50) for R1
// (pseudo anti-log). NaN for a non-finite position.
double IdealLawPercent(Fitted which, double positionPercent);

// The tolerance a resistor of the series is usually sold with, in percent:
// E6 20, E12 10, E24 5, E48 2, E96 1, E192 0.5.
double SeriesTolerancePercent(ESeries series);

// The law the user aims at: the montage's ideal law (see IdealLawPercent),
// or a taper code given by its value at mid travel (TaperCodePercent).
struct TargetLaw {
  Fitted which = Fitted::R2;
  std::optional<double> midPercent;  // none: the ideal law
};
// The target at a position, in percent; NaN outside 0..100.
double TargetPercent(const TargetLaw& target, double positionPercent);

// The curve with the load on the wiper and no resistor fitted, in percent
// (the position itself without a load). NaN as LoadedPercentWithLoad.
double UnfittedPercent(double p, double loadOhms, double positionPercent);

// SolveFittedResistor with a load on the wiper (+infinity: none, which gives
// SolveFittedResistor's numbers). NaN when no positive, finite resistor
// does it: R2 needs 0 < percent < UnfittedPercent, R1 UnfittedPercent <
// percent < 100; NaN too for a load that is NaN or <= 0.
double SolveLoadedResistor(Fitted which, double p, double loadOhms, double positionPercent, double percent);

// What the finder says about one standard value.
struct FinderSetup {
  TargetLaw target;  // target.which is the montage
  double p = 0;
  double loadOhms = 0;  // +infinity: none
  double potTolerancePercent = 20, resistorTolerancePercent = 5;
  double positionPercent = 50;
  double rangeFromPercent = 10, rangeToPercent = 100;
};
struct FinderRow {
  double ohms = 0;
  double percent = 0, decibels = 0;  // the curve at the position
  double bandLow = 0, bandHigh = 0;  // in percent, over the parts' tolerances
  // Two gangs of the same batch anywhere in their tolerances: high minus low
  // of the band, in dB.
  double gangDecibels = 0;
  // The largest gap to the target over the range, at its ends and every
  // whole position between; in points and in dB (NaN for a range outside
  // 0..100 or reversed).
  double gapPoints = 0, gapDecibels = 0;
};
FinderRow EvaluateStandardValue(const FinderSetup& setup, double ohms);

// Why the finder offers no standard value.
enum class FinderReason {
  None,
  NoP,                 // P1 is not positive and finite
  PositionNotANumber,  // NaN: the position could not be read
  PositionOutside,     // not strictly between 0 and 100 %
  WantedNotANumber,
  OutOfReach,    // the exact resistor is beyond kLargestWrittenOhms
  R2OnlyLowers,  // the wanted value is not below the curve without resistor
  R1OnlyRaises,  // nor above it
  TooLarge,      // no finite resistor comes out of the sums
};
struct FinderOutcome {
  FinderReason reason = FinderReason::None;
  // The exact resistor, also when OutOfReach; the curve without resistor at
  // the position for R2OnlyLowers and R1OnlyRaises; NaN otherwise.
  double exactOhms = std::numeric_limits<double>::quiet_NaN();
  double unfittedPercent = std::numeric_limits<double>::quiet_NaN();
  // The standard values around the exact one that the notation writes,
  // ascending, and the row whose curve comes closest to the wanted value.
  std::vector<FinderRow> rows;
  int closest = -1;
};
// The standard values of the series around the resistor that puts the curve
// at `wantedPercent` at setup.positionPercent (`perSide` each side, as
// NearestStandardValues), or the reason there are none; the reasons are
// tried in their order above.
FinderOutcome FindStandardValues(const FinderSetup& setup, double wantedPercent, ESeries series, int perSide);

// A standard value in the notation of circuit diagrams, as the value boxes
// take it: the unit letter stands for the decimal point from 1K up ("6K2",
// "1K02", "10K", "1M5"); below, ohms with the decimal separator ("4,7U",
// "470U"). Read back, it gives the value exactly. Empty for a value that is
// not positive and finite.
std::string StandardValueText(double ohms, char decimalSeparator);

}  // namespace dorvane
