#include "core/resistance.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace dorvane {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A number as the notation allows it: optional sign, digits, optionally the
// separator and more digits, optionally an exponent. Nothing else. Returns
// false for anything else and for a value beyond the range of a double.
bool ReadNumber(std::string_view s, char separator, double& out) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

  // Mantissa, copied with a point as separator for from_chars.
  std::string mantissa;
  mantissa.reserve(s.size() - i + 1);
  long leadingZeros = 0;  // zeros before the first significant digit
  long intDigits = 0;     // significant digits before the separator
  bool seenSeparator = false, seenSignificant = false, anyDigit = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (IsDigit(c)) {
      anyDigit = true;
      if (c != '0') seenSignificant = true;
      if (!seenSignificant) ++leadingZeros;
      if (!seenSeparator && seenSignificant) ++intDigits;
      mantissa.push_back(c);
    } else if (c == separator && !seenSeparator) {
      seenSeparator = true;
      mantissa.push_back('.');
    } else {
      break;
    }
  }
  if (!anyDigit && !seenSeparator) return false;

  long long exponent = 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    ++i;
    bool expNegative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) expNegative = s[i++] == '-';
    const size_t firstExpDigit = i;
    for (; i < s.size() && IsDigit(s[i]); ++i)
      if (exponent < 100000000) exponent = exponent * 10 + (s[i] - '0');  // saturates far out of range
    if (i == firstExpDigit) return false;
    if (expNegative) exponent = -exponent;
  }
  if (i != s.size()) return false;

  if (!anyDigit || !seenSignificant) {  // "," alone, "0,000", "0e5"
    out = negative ? -0.0 : 0.0;
    return true;
  }
  mantissa += 'e';
  mantissa += std::to_string(exponent);
  double value = 0;
  const auto [end, ec] = std::from_chars(mantissa.data(), mantissa.data() + mantissa.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too small to hold is zero; too large is not a number.
    const long long magnitude = (intDigits > 0 ? intDigits - 1 : -(leadingZeros)) + exponent;
    if (magnitude > 0) return false;
    value = 0.0;
  } else if (ec != std::errc() || end != mantissa.data() + mantissa.size() || !std::isfinite(value)) {
    return false;
  }
  out = negative ? -value : value;
  return true;
}

bool AllDigits(std::string_view s) {
  for (char c : s)
    if (!IsDigit(c)) return false;
  return !s.empty();
}

}  // namespace

double ParseResistance(std::string_view text, char decimalSeparator) {
  std::string t;
  t.reserve(text.size());
  for (char c : text) {
    if (c == ' ') continue;
    t.push_back(c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c);
  }

  // The unit letter: M over K over U, R, E (U first among those three).
  const size_t u = t.find('U'), r = t.find('R'), e = t.find('E'), k = t.find('K'), m = t.find('M');
  size_t marker = std::string::npos;
  double multiplier = 1;
  if (u != std::string::npos)
    marker = u;
  else if (r != std::string::npos)
    marker = r;
  else if (e != std::string::npos)
    marker = e;
  if (k != std::string::npos) marker = k, multiplier = 1e3;
  if (m != std::string::npos) marker = m, multiplier = 1e6;

  const std::string_view all(t);
  const std::string_view whole = marker == std::string::npos ? all : all.substr(0, marker);
  const std::string_view fraction =
      marker == std::string::npos ? std::string_view() : all.substr(marker + 1, 3);

  double wholeValue = 0;
  if (ReadNumber(whole, decimalSeparator, wholeValue)) {
    wholeValue *= multiplier;
    if (!std::isfinite(wholeValue)) wholeValue = 0;
  } else {
    wholeValue = 0;
  }

  // The letter stands where the decimal point would: digits after it are the
  // decimals (4K75 is 4750). Other fractions are read as a number of tenths.
  double fractionValue = 0;
  if (AllDigits(fraction)) {
    double decimals = 0, scale = 1;
    for (char c : fraction) {
      scale /= 10;
      decimals += (c - '0') * scale;
    }
    fractionValue = decimals * multiplier;
  } else if (!fraction.empty() && ReadNumber(fraction, decimalSeparator, fractionValue)) {
    fractionValue *= multiplier / 10;
  } else {
    fractionValue = 0;
  }
  return wholeValue + fractionValue;
}

double ParseWholeResistance(std::string_view text, char decimalSeparator) {
  std::string t;
  for (char c : text) {
    if (c == ' ') continue;
    t.push_back(c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c);
  }
  const auto isUnit = [](char c) { return c == 'U' || c == 'R' || c == 'E' || c == 'K' || c == 'M'; };
  size_t i = 0, intDigits = 0, fractionDigits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++intDigits;
  bool separator = false;
  if (i < t.size() && t[i] == decimalSeparator) {
    separator = true;
    for (++i; i < t.size() && IsDigit(t[i]); ++i) ++fractionDigits;
  }
  if (intDigits + fractionDigits == 0) return -1;
  if (i < t.size() && isUnit(t[i])) {
    ++i;
    size_t decimals = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++decimals;
    // "4K7": the letter stands for the separator, so none before it.
    if (decimals > 3 || (decimals > 0 && separator)) return -1;
  }
  if (i != t.size()) return -1;
  const double ohms = ParseResistance(t, decimalSeparator);
  return ohms > 0 && ohms <= kLargestWrittenOhms ? ohms : -1;
}

double ReadLoadOhms(std::string_view text, char decimalSeparator) {
  // Latin-1's no-break space too: the text comes from a box as 8-bit.
  constexpr std::string_view kBlanks = " \t\n\v\f\r\xA0";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return std::numeric_limits<double>::infinity();
  text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
  const double ohms = ParseWholeResistance(text, decimalSeparator);
  return ohms > 0 ? ohms : std::numeric_limits<double>::quiet_NaN();
}

double ReadValueBox(std::string_view text, char decimalSeparator) {
  const double ohms = ParseResistance(text, decimalSeparator);
  return ohms > kLargestWrittenOhms ? 0 : ohms;
}

ResistanceUnit UnitOf(double ohms) {
  if (ohms >= 1e6) return {'M', 1e6};
  if (ohms >= 1e3) return {'K', 1e3};
  return {'U', 1};
}

std::string FormatResistance(double ohms, char decimalSeparator) {
  if (!(ohms > 0) || ohms > kLargestWrittenOhms) return "-";  // also NaN
  const ResistanceUnit u = UnitOf(ohms);
  const char unit = u.letter;
  const long double q = static_cast<long double>(ohms) / static_cast<long double>(u.ohms);

  // First 18 significant digits, then one decimal with halves away from zero,
  // both on the decimal digits so that 12.85 really is a half.
  // Not printf: the C locale, which follows the user's, may write a comma.
  char buf[64];
  const auto printed = std::to_chars(buf, buf + sizeof buf, q, std::chars_format::scientific, 17);
  const char* const end = printed.ptr;  // d.ddddddddddddddddde+XX
  std::string digits;
  const char* p = buf;
  for (; p != end && *p != 'e'; ++p)
    if (IsDigit(*p)) digits.push_back(*p);
  int exp10 = 0;
  if (p != end) std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exp10);

  // digits[i] weighs 10^(exp10 - i); tenths are at index exp10 + 1.
  const int last = exp10 + 1;
  long long tenths = 0;
  for (int i = 0; i <= last && i < int(digits.size()); ++i) tenths = tenths * 10 + (digits[i] - '0');
  for (int i = int(digits.size()); i <= last; ++i) tenths *= 10;
  const int next = last + 1;
  if (next >= 0 && next < int(digits.size()) && digits[next] >= '5') ++tenths;

  std::string out = std::to_string(tenths / 10);
  out += decimalSeparator;
  out += char('0' + tenths % 10);
  out += unit;
  return out;
}

}  // namespace dorvane
