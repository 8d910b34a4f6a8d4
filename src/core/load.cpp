#include "core/load.h"

#include <cmath>
#include <limits>

#include "core/resistance.h"

namespace dorvane {

double LoadOhms(const LoadSettings& settings, char decimalSeparator) {
  const double ohms = ReadLoadOhms(settings.loadText, decimalSeparator);
  return std::isnan(ohms) ? std::numeric_limits<double>::infinity() : ohms;
}

}  // namespace dorvane
