#include "core/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace dorvane {

std::string FormatDecimal(double value, int decimals, char separator, bool trimZeros) {
  // The widest double in fixed notation has 309 digits before the point.
  char buffer[360];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                          std::clamp(decimals, 0, 20));
  if (error != std::errc()) return {};
  std::string text(buffer, end);
  if (std::isfinite(value) && text.front() == '-' && text.find_first_of("123456789") == std::string::npos)
    text.erase(0, 1);
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return text;
  if (trimZeros) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (point < text.size()) text[point] = separator;
  return text;
}

}  // namespace dorvane
