#include "core/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

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

namespace {

// The code point that starts at `at` (advanced past it); 0xFFFD for a
// broken sequence.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return std::uint8_t(text[i]); };
  const std::uint8_t lead = byte(at++);
  if (lead < 0x80) return lead;
  const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (more < 0 || at + std::size_t(more) > text.size()) return 0xFFFD;
  char32_t c = lead & (0x3F >> more);
  for (int i = 0; i < more; ++i) {
    if ((byte(at) & 0xC0) != 0x80) return 0xFFFD;
    c = (c << 6) | (byte(at++) & 0x3F);
  }
  return c;
}

// The blanks the toolkit trims from a typed text.
bool IsBlank(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

}  // namespace

double ReadTypedPercent(std::string_view typed, char separator) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  std::u32string text;
  for (std::size_t at = 0; at < typed.size();) text += NextCodePoint(typed, at);
  const auto trim = [&] {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) ++first;
    text.erase(0, first);
  };
  trim();
  if (!text.empty() && text.back() == U'%') {
    text.pop_back();
    trim();
  }
  std::string number;
  bool digit = false, point = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (c >= U'0' && c <= U'9') {
      digit = true;
      number += char(c);
    } else if (c == char32_t(std::uint8_t(separator)) && !point) {
      point = true;
      number += '.';
    } else if ((c == U'-' || c == U'+') && i == 0) {
      if (c == U'-') number += '-';
    } else {
      return kNaN;
    }
  }
  if (!digit) return kNaN;
  double value = kNaN;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  return ec == std::errc() && end == number.data() + number.size() ? value : kNaN;
}

double ReadTolerance(std::string_view typed, char separator) {
  const double value = ReadTypedPercent(typed, separator);
  return value >= 0 && value < 100 ? value : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace dorvane
