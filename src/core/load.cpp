#include "core/load.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/resistance.h"

namespace dorvane {

double LoadOhms(const LoadSettings& settings, char decimalSeparator) {
  const double ohms = ReadLoadOhms(settings.loadText, decimalSeparator);
  return std::isnan(ohms) ? std::numeric_limits<double>::infinity() : ohms;
}

std::string ToleranceText(const std::string& typed, double percent, char decimalSeparator) {
  std::string out;
  // What ReadTolerance took holds digits, one separator, a sign, blanks
  // and a "%": the digits and the separator are the number as typed.
  for (const char c : typed)
    if (c >= '0' && c <= '9')
      out += c;
    else if (c == '.' || c == ',')
      out += decimalSeparator;
  if (!out.empty()) return out;
  // The shortest fixed writing that reads back as the same double.
  char buffer[400];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, percent, std::chars_format::fixed);
  if (error != std::errc()) return {};
  out.assign(buffer, end);
  for (char& c : out)
    if (c == '.') c = decimalSeparator;
  return out;
}

}  // namespace dorvane
