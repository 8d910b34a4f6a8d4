#include "core/curves.h"

#include <cmath>
#include <limits>
#include <utility>

#include "core/decimal.h"
#include "core/taper.h"

namespace dorvane {

// Any step that divides by zero, has no defined result or overflows makes the
// point 0.
double LoadedPercentAt(double t, double p, double r1, double r2, bool r1Fitted, bool r2Fitted) {
  if (!r1Fitted && !r2Fitted) return 0;
  const double y = LoadedShare({p, r2Fitted ? Fitted::R2 : Fitted::R1, r2Fitted ? r2 : r1}, t) * 100;
  return std::isfinite(y) ? y : 0;
}

double LogLawPercentAt(double x) {
  return std::pow(10.0, x / 50);
}

Curves ComputeCurves(int lawIndex, double p, double r1, double r2, bool r1Fitted, bool r2Fitted) {
  Curves c;
  if (lawIndex != 0) return c;
  c.linear.reserve(101);
  c.loaded.reserve(101);
  c.log.reserve(101);
  for (int i = 0; i <= 100; ++i) {
    const double x = i;
    c.linear.push_back({x, x});
    c.loaded.push_back({x, LoadedPercentAt(x / 100, p, r1, r2, r1Fitted, r2Fitted)});
    c.log.push_back({i == 0 ? 0.0 : 50 * std::log10(x), x});
  }
  return c;
}

std::optional<CurveValues> CurveValuesAt(double position, int lawIndex, double p, double r1, double r2,
                                         bool r1Fitted, bool r2Fitted) {
  if (lawIndex != 0 || !(position >= 0 && position <= 100)) return std::nullopt;
  return CurveValues{position, LoadedPercentAt(position / 100, p, r1, r2, r1Fitted, r2Fitted),
                     LogLawPercentAt(position)};
}

std::string CurvesCsv(const Curves& curves, char decimalSeparator) {
  const bool comma = decimalSeparator == ',';
  const char field = comma ? ';' : ',';
  const char point = comma ? ',' : '.';
  std::string out = "Position (%)";
  for (const char* name : {"Courbe originale (%)", "Courbe modifiée (%)", "Courbe log théorique (%)",
                           "Courbe originale (dB)", "Courbe modifiée (dB)", "Courbe log théorique (dB)"})
    (out += field) += name;
  out += '\n';
  for (std::size_t i = 0; i < curves.linear.size(); ++i) {
    const double x = curves.linear[i].x;
    out += FormatDecimal(x, 4, point);
    const double y[] = {curves.linear[i].y, i < curves.loaded.size() ? curves.loaded[i].y : 0.0,
                        LogLawPercentAt(x)};
    for (double v : y) {
      out += field;
      out += FormatDecimal(v, 4, point);
    }
    // 0 % is minus infinity in dB: left empty, as a spreadsheet's blank cell.
    for (double v : y) {
      out += field;
      if (std::isfinite(Decibels(v))) out += FormatDecimal(Decibels(v), 4, point);
    }
    out += '\n';
  }
  return out;
}

}  // namespace dorvane
