#pragma once
// The dial: where the levels of the loaded curve fall on the knob's scale,
// the marks as the user types them, and the marks file.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/circuit.h"

namespace dorvane {

// The marks are levels in the chart's unit: percent of the input, or dB.
enum class DialUnit { Percent, Decibels };

inline constexpr double kDialRotationDefault = 300, kDialRotationMin = 180, kDialRotationMax = 340;
inline constexpr double kDialDiameterDefault = 40, kDialDiameterMin = 20, kDialDiameterMax = 100;
// More would crowd any dial; the list is refused beyond.
inline constexpr std::size_t kDialMarksMax = 40;
// A level further from 0 than this is no mark anyone means.
inline constexpr double kDialLevelLimit = 1000;

// 0, -3, -6, -10, -15, -20, -25, -30, -40, -50, -60 dB; 0, 10, ..., 100 %.
std::vector<double> DefaultDialMarks(DialUnit unit);

// Whether the circuit has a curve to solve: P1 above 0, the fitted resistor
// above 0, the load above 0 (+infinity: none), all finite but the load.
// Without a resistor or a load it is the bare track's own linear law.
bool HasDialCurve(const Circuit& circuit);

// The share of the input (0..1) a level stands for: percent / 100, or
// 10^(dB / 20).
double DialLevelShare(double level, DialUnit unit);

// The wiper position (0..1) where the curve reaches the share, solved on the
// circuit's own law; NaN where it never does (a share outside 0..1, or no
// curve). The curve runs from 0 at 0 to 1 at 1, rising all the way.
double DialPositionOfShare(const Circuit& circuit, double share);

struct DialMark {
  double level;            // in the unit of the marks
  double positionPercent;  // of the travel
  double angleDegrees;     // 0 at twelve o'clock, clockwise
};
struct DialPlacement {
  std::vector<DialMark> placed;  // in the order given
  std::vector<double> unreached;
};
// The angle is rotation x (position - 0,5): the travel runs clockwise from
// -rotation / 2 to +rotation / 2.
DialPlacement PlaceDialMarks(const Circuit& circuit, std::span<const double> levels, DialUnit unit,
                             double rotationDegrees);

// "-20 dB", "50 %", "-3,5 dB": at most two decimals, the separator given.
std::string DialMarkLabel(double level, DialUnit unit, char separator);
// The list as the dialog shows it: "0; -3; -6".
std::string DialMarksText(std::span<const double> levels, char separator);

// The marks as typed: numbers separated by ";", each with an optional sign
// (the minus sign "−" too), at most two decimals after the locale's
// separator and an optional unit of the marks' kind ("dB", "%"); blanks
// around them. A ";" at the end is allowed; an empty item between two is
// not, nor a number beyond kDialLevelLimit, a level given twice, more than
// kDialMarksMax marks or none. `problem` (French, UTF-8) says what is wrong,
// and `levels` is then empty.
struct DialMarksReading {
  std::vector<double> levels;
  std::string problem;
};
DialMarksReading ReadDialMarks(std::string_view text, DialUnit unit, char separator);

// A rotation or a diameter as typed: a number with the locale's separator,
// blanks around it and an optional unit ("°", "mm") after it; NaN for
// anything else.
double ReadDialNumber(std::string_view text, char separator, std::string_view unit);

// The marks file: "Repère (dB)" or "Repère (%)", "Position (%)", "Angle (°)",
// two decimals, lines ended by "\n"; fields separated as in the values file
// (";" with a decimal comma, "," otherwise).
std::string DialMarksCsv(std::span<const DialMark> marks, DialUnit unit, char separator);

}  // namespace dorvane
