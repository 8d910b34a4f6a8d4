#pragma once
// The three curves of the chart, in percent: the unloaded linear law, the law
// with R1 or R2 fitted, and the theoretical logarithmic law.
#include <optional>
#include <string>
#include <vector>

#include "core/circuit.h"

namespace dorvane {

struct CurvePoint {
  double x;
  double y;
};

struct Curves {
  std::vector<CurvePoint> linear, loaded, log;
};

// 101 points per list for wiper positions 0..100 %, or three empty lists when
// lawIndex is not 0 (only the linear law has curves). R2 wins when both
// resistors are fitted. A point whose computation divides by zero, has no
// defined result or overflows is plotted at 0.
Curves ComputeCurves(int lawIndex, double p, double r1, double r2, bool r1Fitted, bool r2Fitted);

// One point of the loaded curve, at t (0..1 of the travel), as ComputeCurves
// computes it.
double LoadedPercentAt(double t, double p, double r1, double r2, bool r1Fitted, bool r2Fitted);

// The theoretical logarithmic law read the right way round, y = 10^(x / 50):
// 1 % at the start of the travel, 10 % at its middle, 100 % at its end.
double LogLawPercentAt(double x);
// The three laws at one wiper position, in percent.
struct CurveValues {
  double linear, loaded, log;
};

// The laws at any position from 0 to 100 %, by the formulas of ComputeCurves
// (the same numbers at whole positions); the logarithmic law is read the
// right way round, y = 10^(x / 50), so it gives 1 at 0. Nothing outside 0..100
// or when the law has no curves.
std::optional<CurveValues> CurveValuesAt(double position, int lawIndex, double p, double r1, double r2,
                                         bool r1Fitted, bool r2Fitted);

// The curves as CSV text for a spreadsheet: a header line, then one line per
// position of the linear list with the position, the linear and loaded laws
// and the logarithmic law at that position, then the same three in dB (empty
// at 0 %), four decimals, lines ended by "\n". With a decimal comma the fields are separated by ';',
// otherwise by
// ','. Empty curves give the header alone.
std::string CurvesCsv(const Curves& curves, char decimalSeparator);

}  // namespace dorvane
