#include "core/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/resistance.h"

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

std::string GroupThousands(std::string_view digits, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

std::string WithDecimalSeparator(std::string_view number, char separator) {
  std::string out(number);
  std::replace(out.begin(), out.end(), '.', separator);
  return out;
}

std::string FormatOhms(double ohms, char separator) {
  const long long hundredths = std::llround(ohms * 100);
  std::string text = GroupThousands(std::to_string(hundredths / 100), " ");
  if (const long long rest = hundredths % 100) {
    text += separator;
    text += char('0' + rest / 10);
    if (rest % 10) text += char('0' + rest % 10);
  }
  return text + " \u03A9";
}

std::string StandardValueCaption(double ohms, char separator) {
  const ResistanceUnit unit = UnitOf(ohms);
  if (unit.letter == 'U') return FormatOhms(ohms, separator);
  std::string text = FormatDecimal(ohms / unit.ohms, 2, separator);
  if (text.back() == '0') text.pop_back();
  return text + unit.letter;
}

}  // namespace dorvane
