#pragma once
// The load on the wiper and the parts' tolerances: what "Charge et
// tolérances...", the finder and the command line set, and what the main
// window's curve, its band and the finder compute with.
#include <string>

namespace dorvane {

struct LoadSettings {
  std::string loadText;  // as typed, in the notation's 8-bit text; blank: no load
  double p1TolerancePercent = 20, resistorTolerancePercent = 5;
  // The tolerances as typed (UTF-8), which the titles and the legend give:
  // a double cannot tell "99,999" from "100". Empty: the number's.
  std::string p1ToleranceText{}, resistorToleranceText{};
  bool operator==(const LoadSettings&) const = default;
};

// The load in ohms (ReadLoadOhms): +infinity for none, and for a text that
// is not a value, which no window accepts.
double LoadOhms(const LoadSettings& settings, char decimalSeparator);

// A tolerance as the titles and the legend write it, without " %": the
// typed text without its blanks, sign and final "%", with
// `decimalSeparator` for either separator (it was typed under the locale of
// the time); with nothing typed, the shortest writing of `percent`.
std::string ToleranceText(const std::string& typed, double percent, char decimalSeparator);

}  // namespace dorvane
