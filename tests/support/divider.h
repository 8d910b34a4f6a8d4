#pragma once
// The potentiometer's divider worked out apart from the program, for the
// dial's tests: the track split at t, the resistor across its part, the load
// across the lower part; and where it reaches a share of the input.
#include <cmath>
#include <limits>

namespace dorvane::testsupport {

inline constexpr double kNone = std::numeric_limits<double>::infinity();

inline double Divider(double p, double r1, double r2, double load, double t) {
  const auto par = [](double a, double b) { return std::isinf(b) ? a : a * b / (a + b); };
  const double upper = par((1 - t) * p, r1);
  const double lower = par(par(t * p, r2), load);
  return lower / (upper + lower);
}

// R2 without a load in closed form: x = t p solves s x² + (R - s p) x - s p R = 0.
inline double R2Position(double p, double r, double s) {
  const double b = r - s * p;
  return (-b + std::sqrt(b * b + 4 * s * s * p * r)) / (2 * s) / p;
}

// Any circuit by halving over the divider above, 200 steps; 0 and 1 at the ends.
inline double SearchedPosition(double p, double r1, double r2, double load, double s) {
  if (s <= 0 || s >= 1) return s <= 0 ? 0 : 1;
  double lo = 0, hi = 1;
  for (int i = 0; i < 200; ++i) {
    const double mid = (lo + hi) / 2;
    (Divider(p, r1, r2, load, mid) < s ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

}  // namespace dorvane::testsupport
