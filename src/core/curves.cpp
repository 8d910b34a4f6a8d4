#include "core/curves.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "core/decimal.h"
#include "core/taper.h"

namespace dorvane {

Circuit LoadedCircuit(double p, double r1, double r2, bool r1Fitted, bool r2Fitted, double loadOhms) {
  Circuit c{p, std::nullopt, std::numeric_limits<double>::infinity(), loadOhms};
  if (r2Fitted)
    c.fitted = Fitted::R2, c.resistor = r2;
  else if (r1Fitted)
    c.fitted = Fitted::R1, c.resistor = r1;
  return c;
}

namespace {

// The loaded curve as it is plotted.
double PlottedPercent(const Circuit& c, double t) {
  if (!HasLoadedCurve(c)) return 0;
  const double y = LoadedPercent(c, t);
  return std::isnan(y) ? 0 : y;
}

}  // namespace

void AddBandCurves(Curves& c, const Circuit& circuit, double p1TolerancePercent,
                   double resistorTolerancePercent) {
  c.bandLow.clear();
  c.bandHigh.clear();
  for (const CurvePoint& pt : c.loaded) {
    const PercentBand b = HasLoadedCurve(circuit)
                              ? LoadedBand(circuit, pt.x / 100, p1TolerancePercent, resistorTolerancePercent)
                              : PercentBand{0, 0};
    c.bandLow.push_back({pt.x, std::isfinite(b.low) ? b.low : 0});
    c.bandHigh.push_back({pt.x, std::isfinite(b.high) ? b.high : 0});
  }
}

double LogLawPercentAt(double x) {
  return std::pow(10.0, x / 50);
}

Curves ComputeCurves(int lawIndex, const Circuit& circuit) {
  Curves c;
  if (lawIndex != 0) return c;
  c.linear.reserve(101);
  c.loaded.reserve(101);
  c.log.reserve(101);
  for (int i = 0; i <= 100; ++i) {
    const double x = i;
    c.linear.push_back({x, x});
    c.loaded.push_back({x, PlottedPercent(circuit, x / 100)});
    c.log.push_back({i == 0 ? 0.0 : 50 * std::log10(x), x});
  }
  return c;
}

std::optional<CurveValues> CurveValuesAt(double position, int lawIndex, const Circuit& circuit) {
  if (lawIndex != 0 || !(position >= 0 && position <= 100)) return std::nullopt;
  return CurveValues{position, PlottedPercent(circuit, position / 100), LogLawPercentAt(position)};
}

std::string CurvesCsv(const Curves& curves, char decimalSeparator, const CsvNotes& notes) {
  const bool comma = decimalSeparator == ',';
  const char field = comma ? ';' : ',';
  const char point = comma ? ',' : '.';
  // A title never holds the field separator: a note's own is put as a blank.
  const auto title = [&](std::string text) {
    for (char& ch : text)
      if (ch == field) ch = ' ';
    return text;
  };
  const std::string loaded = notes.loaded.empty() ? "" : " " + notes.loaded;
  const std::string band = notes.band.empty() ? "" : " " + notes.band;
  std::string out = "Position (%)";
  for (const std::string& name :
       {std::string("Courbe originale (%)"), "Courbe modifiée" + loaded + " (%)",
        std::string("Courbe log théorique (%)"), std::string("Courbe originale (dB)"),
        "Courbe modifiée" + loaded + " (dB)", std::string("Courbe log théorique (dB)")})
    (out += field) += title(name);
  const bool withBand = !curves.bandLow.empty() && curves.bandLow.size() == curves.linear.size() &&
                        curves.bandHigh.size() == curves.linear.size();
  if (withBand) {
    (out += field) += title("Bande basse" + band + " (%)");
    (out += field) += title("Bande haute" + band + " (%)");
  }
  for (const PinnedCurve& pin : notes.pinned) {
    std::string label = pin.label;
    // "R2 13K, charge 47K" reads "R2 13K avec charge 47K" in a title.
    for (std::size_t at; (at = label.find(", ")) != std::string::npos;) label.replace(at, 2, " avec ");
    (out += field) += title("Figée " + label + " (%)");
  }
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
    if (withBand) {
      (out += field) += FormatDecimal(curves.bandLow[i].y, 4, point);
      (out += field) += FormatDecimal(curves.bandHigh[i].y, 4, point);
    }
    for (const PinnedCurve& pin : notes.pinned) {
      out += field;
      if (i < pin.points.size()) out += FormatDecimal(pin.points[i].y, 4, point);
    }
    out += '\n';
  }
  return out;
}

}  // namespace dorvane
