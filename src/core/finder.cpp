#include "core/finder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

#include "core/curves.h"
#include "core/resistance.h"
#include "core/taper.h"

namespace dorvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The significant digits of each series. E12 and E6 are every second and
// every fourth value of E24; E96 and E48 every second and fourth of E192.
constexpr int kE24[] = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                        33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
constexpr int kE192[] = {
    100, 101, 102, 104, 105, 106, 107, 109, 110, 111, 113, 114, 115, 117, 118, 120, 121, 123, 124, 126,
    127, 129, 130, 132, 133, 135, 137, 138, 140, 142, 143, 145, 147, 149, 150, 152, 154, 156, 158, 160,
    162, 164, 165, 167, 169, 172, 174, 176, 178, 180, 182, 184, 187, 189, 191, 193, 196, 198, 200, 203,
    205, 208, 210, 213, 215, 218, 221, 223, 226, 229, 232, 234, 237, 240, 243, 246, 249, 252, 255, 258,
    261, 264, 267, 271, 274, 277, 280, 284, 287, 291, 294, 298, 301, 305, 309, 312, 316, 320, 324, 328,
    332, 336, 340, 344, 348, 352, 357, 361, 365, 370, 374, 379, 383, 388, 392, 397, 402, 407, 412, 417,
    422, 427, 432, 437, 442, 448, 453, 459, 464, 470, 475, 481, 487, 493, 499, 505, 511, 517, 523, 530,
    536, 542, 549, 556, 562, 569, 576, 583, 590, 597, 604, 612, 619, 626, 634, 642, 649, 657, 665, 673,
    681, 690, 698, 706, 715, 723, 732, 741, 750, 759, 768, 777, 787, 796, 806, 816, 825, 835, 845, 856,
    866, 876, 887, 898, 909, 920, 931, 942, 953, 965, 976, 988};

struct Digits {
  std::span<const int> table;
  int stride = 1;
  int places = 2;  // significant digits per value
};

Digits DigitsOf(ESeries series) {
  switch (series) {
    case ESeries::E6:
      return {kE24, 4, 2};
    case ESeries::E12:
      return {kE24, 2, 2};
    case ESeries::E24:
      return {kE24, 1, 2};
    case ESeries::E48:
      return {kE192, 4, 3};
    case ESeries::E96:
      return {kE192, 2, 3};
    case ESeries::E192:
      return {kE192, 1, 3};
  }
  return {};
}

// digits x 10^exponent, correctly rounded: either an exact integer product
// (below 2^53 in the range used here) or one division of two exact integers.
double Scaled(int digits, int exponent) {
  std::int64_t power = 1;
  for (int i = 0; i < std::abs(exponent); ++i) power *= 10;
  return exponent >= 0 ? double(digits * power) : double(digits) / double(power);
}

// Every standard value of the series from 1 ohm up to 10^10 ohms, ascending.
std::vector<double> AllValues(ESeries series) {
  const Digits d = DigitsOf(series);
  std::vector<double> out;
  out.reserve(10 * (d.table.size() / d.stride));
  for (int decade = 0; decade <= 9; ++decade)
    for (size_t i = 0; i < d.table.size(); i += d.stride)
      out.push_back(Scaled(d.table[i], decade - (d.places - 1)));
  return out;
}

}  // namespace

double SolveFittedResistor(Fitted which, double p, double positionPercent, double percent) {
  if (!std::isfinite(p) || !std::isfinite(positionPercent) || !std::isfinite(percent) || !(p > 0))
    return kNaN;
  const double pos = positionPercent, y = percent;
  // At t = pos/100 the track splits into Rb = tP and Ra = (1 - t)P; the wanted
  // share fixes the loaded part, and the parallel resistor follows from
  // 1/R = 1/loaded - 1/part: R2 = P t(1-t) y/(t-y), R1 = P t(1-t)(1-y)/(y-t).
  double r = kNaN;
  if (which == Fitted::R2) {
    if (!(0 < y && y < pos && pos < 100)) return kNaN;
    r = p * (pos / 100) * ((100 - pos) / 100) * (y / (pos - y));
  } else {
    if (!(0 < pos && pos < y && y < 100)) return kNaN;
    r = p * (pos / 100) * ((100 - pos) / 100) * ((100 - y) / (y - pos));
  }
  return std::isfinite(r) && r > 0 ? r : kNaN;
}

std::vector<double> SeriesValues(ESeries series) {
  const Digits d = DigitsOf(series);
  std::vector<double> out;
  for (size_t i = 0; i < d.table.size(); i += d.stride) out.push_back(Scaled(d.table[i], 1 - d.places));
  return out;
}

std::vector<double> NearestStandardValues(ESeries series, double ohms, int perSide) {
  if (!std::isfinite(ohms) || !(ohms > 0) || perSide < 1) return {};
  const std::vector<double> all = AllValues(series);
  const auto split = std::upper_bound(all.begin(), all.end(), ohms);
  const auto n = std::ptrdiff_t(std::min<std::size_t>(std::size_t(perSide), all.size()));
  const auto first = split - std::min(n, split - all.begin());
  const auto last = split + std::min(n, all.end() - split);
  return {first, last};
}

double IdealLawPercent(Fitted which, double positionPercent) {
  if (!std::isfinite(positionPercent)) return kNaN;
  return which == Fitted::R2 ? LogLawPercentAt(positionPercent)
                             : 100 - LogLawPercentAt(100 - positionPercent);
}

double SeriesTolerancePercent(ESeries series) {
  switch (series) {
    case ESeries::E6:
      return 20;
    case ESeries::E12:
      return 10;
    case ESeries::E24:
      return 5;
    case ESeries::E48:
      return 2;
    case ESeries::E96:
      return 1;
    case ESeries::E192:
      return 0.5;
  }
  return kNaN;
}

double TargetPercent(const TargetLaw& target, double positionPercent) {
  if (!(positionPercent >= 0 && positionPercent <= 100)) return kNaN;
  return target.midPercent ? TaperCodePercent(*target.midPercent, positionPercent)
                           : IdealLawPercent(target.which, positionPercent);
}

double UnfittedPercent(double p, double loadOhms, double positionPercent) {
  const double x = positionPercent;
  if (!std::isfinite(p) || !(p > 0) || !(loadOhms > 0) || !(x >= 0 && x <= 100)) return kNaN;
  if (std::isinf(loadOhms)) return x;
  return LoadedPercent({p, std::nullopt, kInf, loadOhms}, x / 100);
}

double SolveLoadedResistor(Fitted which, double p, double loadOhms, double positionPercent, double percent) {
  if (!(loadOhms > 0)) return kNaN;
  if (std::isinf(loadOhms)) return SolveFittedResistor(which, p, positionPercent, percent);
  const double unfitted = UnfittedPercent(p, loadOhms, positionPercent);
  if (std::isnan(unfitted) || !std::isfinite(percent) || !(positionPercent > 0 && positionPercent < 100))
    return kNaN;
  const double t = positionPercent / 100, y = percent / 100;
  const double upper = (1 - t) * p, lower = t * p;
  // The loaded part the share needs, then 1/R = 1/needed - the conductances
  // already across it.
  double conductance = kNaN;
  if (which == Fitted::R2) {
    if (!(0 < percent && percent < unfitted)) return kNaN;
    conductance = (1 - y) / (y * upper) - 1 / lower - 1 / loadOhms;
  } else {
    if (!(unfitted < percent && percent < 100)) return kNaN;
    const double lowerLoaded = ParallelOhms(lower, loadOhms);
    conductance = y / ((1 - y) * lowerLoaded) - 1 / upper;
  }
  const double r = 1 / conductance;
  return std::isfinite(r) && r > 0 ? r : kNaN;
}

FinderRow EvaluateStandardValue(const FinderSetup& s, double ohms) {
  const Fitted which = s.target.which;
  FinderRow row;
  row.ohms = ohms;
  row.percent = LoadedPercentWithLoad(which, s.p, ohms, s.loadOhms, s.positionPercent);
  row.decibels = Decibels(row.percent);
  const PercentBand band = LoadedBandAt(which, s.p, s.potTolerancePercent, ohms, s.resistorTolerancePercent,
                                        s.loadOhms, s.positionPercent);
  row.bandLow = band.low, row.bandHigh = band.high;
  row.gangDecibels = Decibels(band.high) - Decibels(band.low);

  const double from = s.rangeFromPercent, to = s.rangeToPercent;
  row.gapPoints = row.gapDecibels = kNaN;
  if (!(from >= 0 && from <= to && to <= 100)) return row;
  row.gapPoints = row.gapDecibels = 0;
  std::vector<double> positions{from};
  for (double x = std::floor(from) + 1; x < to; ++x) positions.push_back(x);
  positions.push_back(to);
  for (double x : positions) {
    const double y = LoadedPercentWithLoad(which, s.p, ohms, s.loadOhms, x);
    const double target = TargetPercent(s.target, x);
    row.gapPoints = std::max(row.gapPoints, std::abs(y - target));
    const double dy = Decibels(y), dt = Decibels(target);
    // Both at 0 % agree; one alone at 0 % is infinitely far in dB.
    if (!(std::isinf(dy) && std::isinf(dt))) row.gapDecibels = std::max(row.gapDecibels, std::abs(dy - dt));
  }
  return row;
}

FinderOutcome FindStandardValues(const FinderSetup& setup, double wanted, ESeries series, int perSide) {
  FinderOutcome out;
  const double p = setup.p, position = setup.positionPercent;
  const Fitted which = setup.target.which;
  if (!(p > 0) || !std::isfinite(p))
    out.reason = FinderReason::NoP;
  else if (std::isnan(position))
    out.reason = FinderReason::PositionNotANumber;
  else if (!(position > 0 && position < 100))
    out.reason = FinderReason::PositionOutside;
  else if (std::isnan(wanted))
    out.reason = FinderReason::WantedNotANumber;
  if (out.reason != FinderReason::None) return out;
  const double exact = SolveLoadedResistor(which, p, setup.loadOhms, position, wanted);
  if (exact > kLargestWrittenOhms) {
    out.reason = FinderReason::OutOfReach;
    out.exactOhms = exact;
    return out;
  }
  if (std::isnan(exact)) {
    out.unfittedPercent = UnfittedPercent(p, setup.loadOhms, position);
    const double unfitted = out.unfittedPercent;
    if (which == Fitted::R2 && !(wanted > 0 && wanted < unfitted))
      out.reason = FinderReason::R2OnlyLowers;
    else if (which == Fitted::R1 && !(wanted > unfitted && wanted < 100))
      out.reason = FinderReason::R1OnlyRaises;
    else
      out.reason = FinderReason::TooLarge;
    return out;
  }
  out.exactOhms = exact;
  double closestDistance = kInf;
  for (double v : NearestStandardValues(series, exact, perSide)) {
    // Only what the value boxes can be given.
    if (v > kLargestWrittenOhms) continue;
    out.rows.push_back(EvaluateStandardValue(setup, v));
    if (const double d = std::abs(out.rows.back().percent - wanted); d < closestDistance)
      closestDistance = d, out.closest = int(out.rows.size()) - 1;
  }
  return out;
}

std::string StandardValueText(double ohms, char decimalSeparator) {
  if (!std::isfinite(ohms) || !(ohms > 0)) return {};
  const ResistanceUnit u = UnitOf(ohms);
  const char unit = u.letter;
  const double q = ohms / u.ohms;
  // Standard values have at most two decimals in their unit.
  const double hundredths = std::round(q * 100);
  if (!(hundredths < 9e15)) return {};
  const auto h = std::int64_t(hundredths);
  std::string decimals;
  if (h % 100 != 0) {
    decimals = {char('0' + h % 100 / 10), char('0' + h % 10)};
    if (decimals.back() == '0') decimals.pop_back();
  }
  const std::string whole = std::to_string(h / 100);
  if (decimals.empty()) return whole + unit;
  // After the letter, each digit is added as a multiple of 0.1 or 0.01, which
  // is exact only when the whole part is at least 1000 times larger (thousands
  // and millions); ohms are read as one correctly rounded decimal number.
  return unit == 'U' ? whole + decimalSeparator + decimals + unit : whole + unit + decimals;
}

}  // namespace dorvane
