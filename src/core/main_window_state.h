#pragma once
// The rule that ties the main window's controls together, as a plain function
// of what the controls hold: the window copies the outputs into its controls.
#include <cstdint>
#include <limits>
#include <string>

#include "core/curves.h"
#include "core/load.h"

namespace dorvane {

// The control whose event runs the rule.
enum class RuleSender { None, R1Box, R2Box, Other };

struct MainWindowInputs {
  int lawIndex = 0;
  std::string p1Text, r1Text, r2Text;  // raw 8-bit texts of the value boxes
  bool r1Ticked = false, r2Ticked = false;
  bool showLinear = false, showLoaded = false, showLog = false;
  RuleSender sender = RuleSender::None;
  char decimalSeparator = ',';
  // "Charge et tolérances...": the load on the wiper (+infinity: none) and,
  // for the band, the parts' tolerances in percent.
  double loadOhms = std::numeric_limits<double>::infinity();
  double p1TolerancePercent = 20, resistorTolerancePercent = 5;
  bool band = false;  // "Bande de tolérance"
  // The same as typed, for the names of the curves: the load in the
  // notation's 8-bit text (empty: written from loadOhms), the tolerances in
  // UTF-8 (empty: the numbers').
  std::string loadText, p1ToleranceText, resistorToleranceText;
};

// The load and the tolerances of "Charge et tolérances..." into the inputs.
void ApplyLoadSettings(MainWindowInputs& in, const LoadSettings& settings);

// What the replot alone decides: the points and which series are drawn.
struct PlotOutputs {
  Curves curves;
  bool linearActive = false, loadedActive = false, logActive = false;
  // The band's two curves: with the modified curve, whose spread they are.
  bool bandActive = false;
  // What the legend names them by.
  CircuitName modifiedName;
  BandTolerances bandTolerances;
};

struct MainWindowState {
  bool r1Ticked = false, r2Ticked = false;  // after the exclusion
  std::string title;                        // chart title and diagram title
  bool loadedBoxVisible = false;
  bool r1Enabled = false;
  std::uint32_t r1BodyColour = 0, r1CaptionColour = 0;  // 0x00BBGGRR
  bool r2Enabled = false;
  std::uint32_t r2BodyColour = 0, r2CaptionColour = 0;
  std::string p1Caption, r1Caption, r2Caption;  // two lines joined by '\r'
  // With a load: the chart's title says it (the diagram's title stays), and
  // the diagram draws it with this caption.
  std::string chartTitle;
  bool loadShown = false;
  std::string loadCaption;
  PlotOutputs plot;
};

inline constexpr const char* kTitleAntiLog = "Montage en Pseudo Anti-Log (Log Neg)";
inline constexpr const char* kTitleLog = "Montage en Pseudo Log (Log Pos)";
inline constexpr const char* kTitleUnloaded = "Montage sans modification";

// What the main window's controls hold as it opens (its layout): the linear
// law, P1 100K, R1 10K2 and R2 10K with R2 fitted, the linear and loaded
// curves shown; no load, no band.
MainWindowInputs OpeningInputs(char decimalSeparator);

// The circuit the value boxes and ticks describe (R2 wins when both are
// ticked), with the load.
Circuit CircuitOf(const MainWindowInputs& in);

// The full update rule: exclusion of R1 and R2, titles, diagram, replot.
MainWindowState ComputeMainWindowState(const MainWindowInputs& in);

// The replot alone (a click on one of the "Afficher" boxes): reads the ticks
// as they are, without the exclusion.
PlotOutputs ComputePlot(const MainWindowInputs& in);

// The modified curve's circuit as typed (R2 wins when both are ticked): P1
// and its law, the resistor ticked, the load.
CircuitName ModifiedCircuitName(const MainWindowInputs& in);
// The band's tolerances as the titles and the legend write them.
BandTolerances BandTolerancesOf(const MainWindowInputs& in);

// The laws at one wiper position for the values and ticks the replot reads.
std::optional<CurveValues> PlotValuesAt(const MainWindowInputs& in, double position);
// The band at one wiper position, when it is shown (see PlotOutputs).
std::optional<PercentBand> PlotBandAt(const MainWindowInputs& in, double position);

}  // namespace dorvane
