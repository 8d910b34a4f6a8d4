#include "core/circuit.h"

#include <cmath>
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

}  // namespace dorvane
