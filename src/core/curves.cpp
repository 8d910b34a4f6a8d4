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

std::string CircuitLabel(const CircuitName& name, bool withP1) {
  std::string out;
  const auto add = [&](const std::string& part) {
    if (part.empty()) return;
    if (!out.empty()) out += ", ";
    out += part;
  };
  if (withP1) add("P1 " + name.p1 + (name.law.empty() ? "" : " " + name.law));
  add(name.resistor);
  if (!name.load.empty()) add("charge " + name.load);
  return out;
}

std::string BandLabel(const CircuitName& name, const BandTolerances& tolerances) {
  std::string out = "Bande P1 \u00B1" + tolerances.p1 + " %";
  if (!name.resistor.empty()) out += " R \u00B1" + tolerances.resistor + " %";
  return out;
}

namespace {

// A circuit for a column title, where a comma may be the field separator:
// "P1 100K avec R2 10K et charge 47K"; with the band's tolerances,
// "P1 100K \u00B120 % avec R2 10K \u00B15 % et charge 47K".
std::string CircuitTitle(const CircuitName& name, const BandTolerances* tolerances = nullptr) {
  std::string out = "P1 " + name.p1;
  if (!name.law.empty()) out += " " + name.law;
  if (tolerances) out += " \u00B1" + tolerances->p1 + " %";
  if (!name.resistor.empty()) {
    out += " avec " + name.resistor;
    if (tolerances) out += " \u00B1" + tolerances->resistor + " %";
  }
  if (!name.load.empty()) out += (name.resistor.empty() ? " avec charge " : " et charge ") + name.load;
  return out;
}

}  // namespace

char CsvFieldSeparator(char decimalSeparator, char preferred) {
  const bool comma = decimalSeparator == ',';
  const char point = comma ? ',' : '.';
  const auto usable = [point](char c) {
    const bool partOfNumber = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'e' || c == 'E';
    return c > ' ' && c < 127 && c != point && c != '"' && !partOfNumber;
  };
  if (usable(preferred)) return preferred;
  return comma ? ';' : ',';
}

std::string CurvesCsv(const Curves& curves, char decimalSeparator, const CsvNotes& notes,
                      char fieldSeparator) {
  const bool comma = decimalSeparator == ',';
  const char field = CsvFieldSeparator(decimalSeparator, fieldSeparator);
  const char point = comma ? ',' : '.';
  // A title never holds the field separator: a typed text's own is put as a blank.
  const auto title = [&](std::string text) {
    for (char& ch : text)
      if (ch == field) ch = ' ';
    return text;
  };
  const bool named = !notes.modified.p1.empty();
  // Appended, not prefixed: GCC 12 warns wrongly on "text" + a temporary.
  const auto spaced = [](const std::string& text) { return std::string(1, ' ') += text; };
  std::string original;
  if (named) {
    original = spaced("P1") += spaced(notes.modified.p1);
    if (!notes.modified.law.empty()) original += spaced(notes.modified.law);
  }
  const std::string modified = named ? spaced(CircuitTitle(notes.modified)) : "";
  std::string out = std::string(kUtf8ByteOrderMark) + "Position (%)";
  for (const std::string& name :
       {"Courbe originale" + original + " (%)", "Courbe modifiée" + modified + " (%)",
        std::string("Courbe log théorique (%)"), "Courbe originale" + original + " (dB)",
        "Courbe modifiée" + modified + " (dB)", std::string("Courbe log théorique (dB)")})
    (out += field) += title(name);
  const bool withBand = !curves.bandLow.empty() && curves.bandLow.size() == curves.linear.size() &&
                        curves.bandHigh.size() == curves.linear.size();
  if (withBand) {
    const std::string band = named ? spaced(CircuitTitle(notes.modified, &notes.band)) : "";
    (out += field) += title("Bande basse" + band + " (%)");
    (out += field) += title("Bande haute" + band + " (%)");
  }
  for (const PinnedCurve& pin : notes.pinned)
    (out += field) += title("Figée " + CircuitTitle(pin.name) + " (%)");
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
