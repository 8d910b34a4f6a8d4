#pragma once
// The three curves of the chart, in percent: the unloaded linear law, the law
// with R1 or R2 fitted, and the theoretical logarithmic law.
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/circuit.h"

namespace dorvane {

struct CurvePoint {
  double x;
  double y;
};

struct Curves {
  std::vector<CurvePoint> linear, loaded, log;
  // The lowest and highest loaded curve over the parts' tolerances, when
  // asked for (BandCurves); empty otherwise.
  std::vector<CurvePoint> bandLow, bandHigh;
};

// The circuit the loaded curve is computed for, from the window's values:
// R2 wins when both resistors are fitted.
Circuit LoadedCircuit(double p, double r1, double r2, bool r1Fitted, bool r2Fitted,
                      double loadOhms = std::numeric_limits<double>::infinity());

// 101 points per list for wiper positions 0..100 %, or three empty lists when
// lawIndex is not 0 (only the linear law has curves). The loaded curve is the
// circuit's (LoadedPercent) where it has one (HasLoadedCurve), with a load
// also the loaded bare track; a point with no value is plotted at 0, and so is
// every point without a loaded curve.
Curves ComputeCurves(int lawIndex, const Circuit& circuit);

// The band (LoadedBand) at the 101 positions of the loaded curve, into
// c.bandLow and c.bandHigh; 0 where it cannot be computed.
void AddBandCurves(Curves& c, const Circuit& circuit, double p1TolerancePercent,
                   double resistorTolerancePercent);

// The theoretical logarithmic law read the right way round, y = 10^(x / 50):
// 1 % at the start of the travel, 10 % at its middle, 100 % at its end.
double LogLawPercentAt(double x);
// The three laws at one wiper position, in percent.
struct CurveValues {
  double linear, loaded, log;
};

// The laws at any position from 0 to 100 %, by the formulas of ComputeCurves
// (the same numbers at whole positions); the logarithmic law is read the
// right way round, y = 10^(x / 50), so it gives 1 at 0. Nothing outside 0..100
// or when the law has no curves.
std::optional<CurveValues> CurveValuesAt(double position, int lawIndex, const Circuit& circuit);

// A curve's circuit as the user typed it, in UTF-8: what tells one curve
// from another in the legend, the tool tip and the values file.
struct CircuitName {
  std::string p1;        // P1's value, "100K"
  std::string law;       // P1's law when not linear, "Logarithmique"
  std::string resistor;  // the resistor fitted and its value, "R2 10K"; empty: none
  std::string load;      // the load's value, "47K"; empty: none
  bool operator==(const CircuitName&) const = default;
};
// For the legend and the tool tip: "P1 100K, R2 10K, charge 47K"; without
// P1, "R2 10K, charge 47K".
std::string CircuitLabel(const CircuitName& name, bool withP1 = true);

// The band's tolerances as written (ToleranceText), without " %".
struct BandTolerances {
  std::string p1, resistor;
  bool operator==(const BandTolerances&) const = default;
};
// For the legend: "Bande P1 ±20 % R ±5 %"; the resistor's only when one is
// fitted.
std::string BandLabel(const CircuitName& name, const BandTolerances& tolerances);

// The curves as CSV text for a spreadsheet: the UTF-8 byte-order mark (a
// spreadsheet reads the file as UTF-8 only then), a header line, then one
// line per position of the linear list with the position, the linear and
// loaded laws and the logarithmic law at that position, then the same three
// in dB (empty at 0 %), four decimals, lines ended by "\n". Fields are
// separated by `fieldSeparator` when it is usable (see CsvFieldSeparator),
// otherwise by ';' with a decimal comma and ',' with a decimal point. Empty
// curves give the header alone.
//
// `notes` says what the file holds, in the titles, so that a file read
// alone says it and the columns stay as they are: with the modified curve's
// circuit named, the original and modified curves' titles name it ("Courbe
// modifiée P1 100K avec R2 10K et charge 47K (%)"); with band curves,
// "Bande basse" and "Bande haute" columns follow, titled with the circuit
// and the tolerances; each pinned curve follows as a column of its own
// titled "Figée " and its circuit. No title holds the field separator.
struct PinnedCurve {
  CircuitName name;
  std::vector<CurvePoint> points;  // in percent
};
struct CsvNotes {
  CircuitName modified;  // P1 empty: titles without a circuit
  BandTolerances band;
  std::vector<PinnedCurve> pinned;
};
std::string CurvesCsv(const Curves& curves, char decimalSeparator, const CsvNotes& notes = {},
                      char fieldSeparator = '\0');

inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// The field separator a values file gets: `preferred` (a system's list
// separator) when it is a printable ASCII character that cannot be part of
// a number or a title's quoting, other than the decimal separator;
// otherwise ';' with a decimal comma and ',' with a decimal point.
char CsvFieldSeparator(char decimalSeparator, char preferred = '\0');

}  // namespace dorvane
