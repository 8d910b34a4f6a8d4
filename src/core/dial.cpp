#include "core/dial.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "core/decimal.h"

namespace dorvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::string_view kBlanks[] = {" ", "\t", "\xC2\xA0", "\xE2\x80\xAF"};  // with the no-break ones
constexpr std::string_view kMinus = "\xE2\x88\x92";                              // "−"

bool Positive(double ohms) {
  return ohms > 0 && !std::isnan(ohms);
}

std::string_view Trimmed(std::string_view s) {
  for (bool again = true; again;) {
    again = false;
    for (std::string_view b : kBlanks) {
      while (s.starts_with(b)) s.remove_prefix(b.size()), again = true;
      while (s.ends_with(b)) s.remove_suffix(b.size()), again = true;
    }
  }
  return s;
}

bool EndsWithNoCase(std::string_view s, std::string_view end) {
  if (s.size() < end.size()) return false;
  return std::equal(end.begin(), end.end(), s.end() - end.size(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? a + 32 : a) == (b >= 'A' && b <= 'Z' ? b + 32 : b);
  });
}

// A sign, digits, the separator and at most `maxDecimals` more digits; at
// least one digit. Nothing else: no exponent, no "inf", no grouping.
std::optional<double> ReadDecimal(std::string_view s, char separator, int maxDecimals,
                                  bool& tooManyDecimals) {
  std::string number;
  if (s.starts_with(kMinus)) {
    s.remove_prefix(kMinus.size());
    number += '-';
  } else if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    if (s.front() == '-') number += '-';
    s.remove_prefix(1);
  }
  // Longer than any sensible mark: never handed to the number reader.
  if (s.size() > 24) return std::nullopt;
  bool digit = false;
  int decimals = -1;  // digits after the separator; -1 before it
  for (const char c : s) {
    if (c >= '0' && c <= '9') {
      digit = true;
      number += c;
      if (decimals >= 0) ++decimals;
    } else if (c == separator && decimals < 0) {
      decimals = 0;
      number += '.';
    } else {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  tooManyDecimals = decimals > maxDecimals;
  double value = kNaN;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
    return std::nullopt;
  return value == 0 ? 0.0 : value;  // no "-0"
}

// An item as a message quotes it, cut short on a character's boundary.
std::string Quote(std::string_view item) {
  constexpr std::size_t kShown = 24;
  std::string out = "« ";
  if (item.size() <= kShown) {
    out += item;
  } else {
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(item[cut]) & 0xC0) == 0x80) --cut;
    out += item.substr(0, cut);
    out += "…";
  }
  return out + " »";
}

std::string SeparatorHint(std::string_view item, char separator) {
  const char other = separator == ',' ? '.' : ',';
  if (item.find(other) == std::string_view::npos) return {};
  return std::string(" (le séparateur décimal est « ") + separator + " »)";
}

}  // namespace

std::vector<double> DefaultDialMarks(DialUnit unit) {
  if (unit == DialUnit::Decibels) return {0, -3, -6, -10, -15, -20, -25, -30, -40, -50, -60};
  std::vector<double> marks;
  for (int p = 0; p <= 100; p += 10) marks.push_back(p);
  return marks;
}

bool HasDialCurve(const Circuit& c) {
  if (!Positive(c.p) || std::isinf(c.p)) return false;
  if (c.fitted && (!Positive(c.resistor) || std::isinf(c.resistor))) return false;
  return Positive(c.loadOhms);
}

double DialLevelShare(double level, DialUnit unit) {
  return unit == DialUnit::Decibels ? std::pow(10.0, level / 20) : level / 100;
}

double DialPositionOfShare(const Circuit& c, double share) {
  if (!HasDialCurve(c) || !(share >= 0 && share <= 1)) return kNaN;
  // The ends are the curve's own: all of the lower part or none of it.
  if (share == 0) return 0;
  if (share == 1) return 1;
  // Bisection keeps the answer bracketed whatever the curve's shape near
  // the ends, down to neighbouring doubles.
  double lo = 0, hi = 1;
  while (true) {
    const double mid = lo + (hi - lo) / 2;
    if (mid <= lo || mid >= hi || hi - lo < 1e-15) break;
    const double y = LoadedShare(c, mid);
    if (!std::isfinite(y)) return kNaN;
    (y < share ? lo : hi) = mid;
  }
  return lo + (hi - lo) / 2;
}

DialPlacement PlaceDialMarks(const Circuit& circuit, std::span<const double> levels, DialUnit unit,
                             double rotationDegrees) {
  DialPlacement out;
  for (const double level : levels) {
    const double t = DialPositionOfShare(circuit, DialLevelShare(level, unit));
    if (std::isnan(t)) {
      out.unreached.push_back(level);
      continue;
    }
    out.placed.push_back({level, t * 100, rotationDegrees * (t - 0.5)});
  }
  return out;
}

std::string DialMarkLabel(double level, DialUnit unit, char separator) {
  return FormatDecimal(level, 2, separator, true) + (unit == DialUnit::Decibels ? " dB" : " %");
}

std::string DialMarksText(std::span<const double> levels, char separator) {
  std::string out;
  for (const double level : levels) {
    if (!out.empty()) out += "; ";
    out += FormatDecimal(level, 2, separator, true);
  }
  return out;
}

DialMarksReading ReadDialMarks(std::string_view text, DialUnit unit, char separator) {
  const auto refuse = [](std::string problem) { return DialMarksReading{{}, std::move(problem)}; };
  std::vector<std::string_view> items;
  for (std::size_t from = 0;;) {
    const std::size_t at = text.find(';', from);
    items.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
    if (at == std::string_view::npos) break;
    from = at + 1;
  }
  // "0; -3;" ends a list, as many people type it.
  if (items.size() > 1 && Trimmed(items.back()).empty()) items.pop_back();
  if (items.size() == 1 && Trimmed(items.front()).empty()) return refuse("aucun repère n'est donné");
  if (items.size() > kDialMarksMax)
    return refuse("plus de " + std::to_string(kDialMarksMax) + " repères (" + std::to_string(items.size()) +
                  ")");
  const std::string_view own = unit == DialUnit::Decibels ? "dB" : "%";
  const std::string_view other = unit == DialUnit::Decibels ? "%" : "dB";
  DialMarksReading out;
  for (const std::string_view raw : items) {
    const std::string_view item = Trimmed(raw);
    if (item.empty()) return refuse("un repère est vide entre deux « ; »");
    std::string_view number = item;
    if (EndsWithNoCase(number, own)) {
      number = Trimmed(number.substr(0, number.size() - own.size()));
    } else if (EndsWithNoCase(number, other)) {
      return refuse(Quote(item) + " n'est pas en " + std::string(own) + ", l'unité des repères");
    }
    bool tooManyDecimals = false;
    const std::optional<double> value = ReadDecimal(number, separator, 2, tooManyDecimals);
    if (!value) return refuse(Quote(item) + " n'est pas un nombre" + SeparatorHint(item, separator));
    if (tooManyDecimals) return refuse(Quote(item) + " a plus de deux décimales");
    if (std::abs(*value) > kDialLevelLimit)
      return refuse(Quote(item) + " est hors de -1000 à 1000 " + std::string(own));
    if (std::find(out.levels.begin(), out.levels.end(), *value) != out.levels.end())
      return refuse("le repère " + Quote(DialMarkLabel(*value, unit, separator)) + " est donné deux fois");
    out.levels.push_back(*value);
  }
  return out;
}

double ReadDialNumber(std::string_view text, char separator, std::string_view unit) {
  std::string_view s = Trimmed(text);
  if (!unit.empty() && EndsWithNoCase(s, unit)) s = Trimmed(s.substr(0, s.size() - unit.size()));
  bool tooManyDecimals = false;
  const std::optional<double> value = ReadDecimal(s, separator, 20, tooManyDecimals);
  return value && !tooManyDecimals ? *value : kNaN;
}

std::string DialMarksCsv(std::span<const DialMark> marks, DialUnit unit, char separator) {
  const bool comma = separator == ',';
  const char field = comma ? ';' : ',';
  const char point = comma ? ',' : '.';
  std::string out = unit == DialUnit::Decibels ? "Repère (dB)" : "Repère (%)";
  ((out += field) += "Position (%)") += field;
  out += "Angle (°)\n";
  for (const DialMark& m : marks) {
    out += FormatDecimal(m.level, 2, point);
    (out += field) += FormatDecimal(m.positionPercent, 2, point);
    (out += field) += FormatDecimal(m.angleDegrees, 2, point);
    out += '\n';
  }
  return out;
}

}  // namespace dorvane
