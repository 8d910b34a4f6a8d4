#include "core/taper.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dorvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool Positive(double v) {
  return std::isfinite(v) && v > 0;
}

}  // namespace

double TaperCodePercent(double midPercent, double positionPercent) {
  const double m = midPercent, x = positionPercent;
  if (!(m > 0 && m < 100) || !(x >= 0 && x <= 100)) return kNaN;
  if (x == 0 || x == 100) return x;
  // ln b = 2 ln(100/m - 1); expm1 keeps the precision where b is close to 1.
  const double lnB = 2 * std::log((100 - m) / m);
  if (lnB == 0) return x;
  return 100 * (std::expm1(lnB * x / 100) / std::expm1(lnB));
}

double LoadedPercentWithLoad(Fitted which, double p, double resistor, double loadOhms,
                             double positionPercent) {
  const double x = positionPercent;
  if (!Positive(p) || !Positive(resistor) || !(loadOhms > 0) || !(x >= 0 && x <= 100)) return kNaN;
  return LoadedPercent({p, which, resistor, loadOhms}, x / 100);
}

PercentBand LoadedBandAt(Fitted which, double p, double potTolerancePercent, double resistor,
                         double resistorTolerancePercent, double loadOhms, double positionPercent) {
  const double x = positionPercent;
  if (!Positive(p) || !Positive(resistor) || !(loadOhms > 0) || !(x >= 0 && x <= 100)) return {kNaN, kNaN};
  return LoadedBand({p, which, resistor, loadOhms}, x / 100, potTolerancePercent, resistorTolerancePercent);
}

double Decibels(double percent) {
  if (!std::isfinite(percent) || percent < 0) return kNaN;
  return 20 * std::log10(percent / 100);
}

}  // namespace dorvane
