#include "chart/axis_scale.h"

#include "core/decimal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

namespace dorvane::chart {

double RoundHalfEven(double v) {
  // Adding and taking away 2^52 leaves the nearest integer, halves to even,
  // by the arithmetic's own rounding: no call into the maths library, which
  // a replot's 303 points felt. Beyond 2^52 every double is whole already.
  constexpr double kWhole = 0x1p52;
  if (!(std::abs(v) < kWhole)) return v;
  return std::copysign(v >= 0 ? (v + kWhole) - kWhole : (v - kWhole) + kWhole, v);
}

int AxisMap::ValueToPixel(double value) const {
  return PixelOf(value).value_or(CenterPixel());
}

std::optional<int> AxisMap::PixelOf(double value) const {
  const double r = Range();
  if (r == 0) return CenterPixel();
  const double t = (value - min_) * PixelSize() / r;
  if (!(std::abs(t) < 2147483647.0)) return std::nullopt;
  const long long rt = static_cast<long long>(RoundHalfEven(t));
  const bool fromStart = horizontal_ != inverted_;
  const long long p = fromStart ? start_ + rt : end_ - rt;
  return int(std::clamp<long long>(p, INT_MIN, INT_MAX));
}

double AxisMap::PixelToValue(int pixel) const {
  if (PixelSize() < 1) return 0;
  const double offset = double(pixel - start_) * Range() / PixelSize();
  const bool fromMin = horizontal_ != inverted_;
  return fromMin ? min_ + offset : max_ - offset;
}

double NextLabelStep(double s) {
  if (!(s > 0) || !std::isfinite(s)) return std::numeric_limits<double>::infinity();
  // The same divisions and multiplications as "ten times the next step of
  // s / 10" and "a tenth of the next step of 10 s", without recursion.
  int up = 0, down = 0;
  while (s >= 10) {
    s /= 10;
    ++up;
  }
  while (s < 1) {
    s *= 10;
    ++down;
  }
  double next = s < 2 ? 2 : s < 5 ? 5 : 10;
  for (; up > 0; --up) next *= 10;
  for (; down > 0; --down) next /= 10;
  return next;
}

double LabelStep(const LabelStepInput& in) {
  if (!std::isfinite(in.range)) return kMinLabelStep;
  long long fit = 1;
  if (in.labelSize != 0) {
    const int room =
        in.separationPercent > 0
            ? in.labelSize + int(RoundHalfEven(in.labelSize * double(in.separationPercent) / 100))
            : in.labelSize;
    fit = room != 0 ? static_cast<long long>(RoundHalfEven(double(in.pixelSize) / room)) : 0;
  }
  if (fit < 1) return kMinLabelStep;
  double s = in.increment > 0 && std::isfinite(in.increment) ? in.increment
             : std::abs(in.range) < 1                        ? kMinLabelStep
                                                             : 1;
  if (in.separationPercent > 0) {
    // From 1e-12 to the largest double is about a thousand steps; the guard
    // only matters for ranges that no step can satisfy.
    for (int guard = 0; guard < 4000; ++guard) {
      const double q = in.range / s;
      if (std::abs(q) < 2147483647.0 && RoundHalfEven(q) <= double(fit)) break;
      const double next = NextLabelStep(s);
      if (!std::isfinite(next)) break;
      s = next;
    }
  }
  return std::max(s, kMinLabelStep);
}

std::vector<double> LabelValues(double min, double max, double step, bool roundFirst) {
  std::vector<double> out;
  if (!(step > 0) || !std::isfinite(step) || !std::isfinite(min) || !std::isfinite(max) || !(max >= min))
    return out;
  const double steps = (max - min) / step;
  if (!std::isfinite(steps) || std::abs(steps) >= kMaxLabelSteps) return out;
  double v = roundFirst && min != max ? std::trunc(max / step) * step : max;
  // Far from zero a step can be lost in the rounding of v: stop when v no
  // longer moves, and never write more labels than the range holds steps.
  for (int guard = 0; v > max && guard < 4; ++guard) v -= step;
  // A little below the minimum, whatever its sign: a negative bottom keeps
  // its label too.
  const double last = min - 1e-12 * std::max(1.0, std::abs(min));
  while (v >= last && double(out.size()) < kMaxLabelSteps) {
    out.push_back(v);
    const double next = v - step;
    if (!(next < v)) break;
    v = next;
  }
  return out;
}

namespace {
QString FormatAxisValueAfresh(double value, QChar decimalSeparator, QChar thousandSeparator) {
  const double magnitude = std::abs(value);
  if (magnitude >= 1e18) {
    QString s = QString::number(value, 'E', 3);
    return s.replace(u'.', decimalSeparator);
  }
  // Not printf: the C locale follows the user's and may write "100,000".
  char buf[64];
  const auto printed = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, 3);
  QString digits = QString::fromLatin1(buf, printed.ptr - buf);
  const qsizetype point = digits.indexOf(u'.');
  QString whole = digits.left(point), decimals = digits.mid(point + 1);
  while (decimals.endsWith(u'0')) decimals.chop(1);
  QString out =
      QString::fromStdString(GroupThousands(whole.toStdString(), QString(thousandSeparator).toStdString()));
  if (!decimals.isEmpty()) out += decimalSeparator + decimals;
  const bool zero = whole == QLatin1String("0") && decimals.isEmpty();
  if (value < 0 && !zero) out.prepend(u'-');
  return out;
}

}  // namespace

QString FormatAxisValue(double value, QChar decimalSeparator, QChar thousandSeparator) {
  if (!std::isfinite(value)) return QString();
  // Every layout formats the same few labels again: remember the last
  // texts, one per slot of a small table picked by the value's bits.
  struct Slot {
    std::uint64_t bits = 0;
    char16_t decimal = 0, thousand = 0;
    QString text;
  };
  thread_local std::array<Slot, 64> recent;
  const auto bits = std::bit_cast<std::uint64_t>(value);
  Slot& slot = recent[(bits * 0x9E3779B97F4A7C15u) >> 58];
  const char16_t decimal = decimalSeparator.unicode(), thousand = thousandSeparator.unicode();
  if (slot.text.isNull() || slot.bits != bits || slot.decimal != decimal || slot.thousand != thousand)
    slot = {bits, decimal, thousand, FormatAxisValueAfresh(value, decimalSeparator, thousandSeparator)};
  return slot.text;
}

}  // namespace dorvane::chart
