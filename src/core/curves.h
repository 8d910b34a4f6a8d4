#pragma once
// The three curves of the chart, in percent: the unloaded linear law, the law
// with R1 or R2 fitted, and the theoretical logarithmic law.
#include <vector>

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

}  // namespace dorvane
