#include "core/circuit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace dorvane {

double ParallelOhms(double a, double b) {
  const double product = a * b;
  if (std::isnormal(product) || (product == 0 && (a == 0 || b == 0))) return product / (a + b);
  // Divided by the larger: the ratio stays within -1..1 and never overflows.
  if (std::abs(a) > std::abs(b)) std::swap(a, b);
  return a / (1 + a / b);
}

double LoadedShare(const Circuit& c, double t) {
  double upper = (1 - t) * c.p, lower = t * c.p;
  if (c.fitted == Fitted::R1) upper = ParallelOhms(upper, c.resistor);
  if (c.fitted == Fitted::R2) lower = ParallelOhms(lower, c.resistor);
  lower = ParallelOhms(lower, c.loadOhms);
  return lower / (upper + lower);
}

bool HasLoadedCurve(const Circuit& c) {
  return c.fitted || !std::isinf(c.loadOhms);
}

double LoadedPercent(const Circuit& c, double t) {
  const double y = LoadedShare(c, t) * 100;
  return std::isfinite(y) ? y : std::numeric_limits<double>::quiet_NaN();
}

PercentBand LoadedBand(const Circuit& circuit, double t, double p1TolerancePercent,
                       double resistorTolerancePercent) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const auto valid = [](double tolerance) { return tolerance >= 0 && tolerance < 100; };
  if (!valid(p1TolerancePercent) || !valid(resistorTolerancePercent)) return {kNaN, kNaN};
  // The curve is monotonic in the track and in the resistor alike, so its
  // extremes sit at the corners.
  PercentBand band{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
  for (const double ps : {-1.0, 1.0}) {
    for (const double rs : {-1.0, 1.0}) {
      Circuit corner = circuit;
      corner.p *= 1 + ps * p1TolerancePercent / 100;
      corner.resistor *= 1 + rs * resistorTolerancePercent / 100;
      const double y = LoadedPercent(corner, t);
      if (std::isnan(y)) return {kNaN, kNaN};
      band.low = std::min(band.low, y);
      band.high = std::max(band.high, y);
    }
  }
  return band;
}

}  // namespace dorvane
