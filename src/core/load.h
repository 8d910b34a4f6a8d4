#pragma once
// The load on the wiper and the parts' tolerances: what "Charge et
// tolérances...", the finder and the command line set, and what the main
// window's curve, its band and the finder compute with.
#include <string>

namespace dorvane {

struct LoadSettings {
  std::string loadText;  // as typed, in the notation's 8-bit text; blank: no load
  double p1TolerancePercent = 20, resistorTolerancePercent = 5;
  bool operator==(const LoadSettings&) const = default;
};

// The load in ohms (ReadLoadOhms): +infinity for none, and for a text that
// is not a value, which no window accepts.
double LoadOhms(const LoadSettings& settings, char decimalSeparator);

}  // namespace dorvane
