#pragma once
// The chart of the main window: the settings its layout cannot hold and the
// replot that fills its three series.
#include <string>
#include <vector>

#include "chart/chart.h"
#include "core/curves.h"
#include "core/main_window_state.h"

namespace dorvane::forms {

// Gives the chart all of the main window's settings (the window's layout
// only places it): aqua panel, black plot, no bevel, margins, flat view,
// title, hidden legend, back wall, fixed 0-100 axes with their titles, hidden
// top and right axes; and creates Series1 (linear law, green 0x00FF80),
// Series2 (loaded law, red) and Series3 (theoretical log law, silver), each
// titled for screen readers. Call once on a chart without series.
void ConfigureProgramChart(chart::TChart& chart);

// Series beyond the three laws: the band's edges (a lighter red) and up to
// four pinned curves, each in its own colour.
inline constexpr int kBandLowSeries = 3, kBandHighSeries = 4, kFirstPinnedSeries = 5, kMaxPinnedCurves = 4;
inline constexpr gfx::Colour kBandColour = 0x8080FF;
gfx::Colour PinnedColour(int index);

// The replot in the main window's order: the three laws' series emptied, the points
// of the three curves appended point by point (Series1, Series2, Series3
// for each position), then the three Active flags.
void PlotProgramCurves(chart::TChart& chart, const Curves& curves, bool showLinear, bool showLoaded,
                       bool showLog, bool decibels = false);

// The curves the user added to the chart: the band (when shown) and the
// pinned curves, whose series are refilled only when `refillPinned` (they
// changed); the unused series are emptied and inactive. While any of them
// shows, the legend inside the plot names the modified curve, the band and
// each pinned curve in its colour, and the modified curve is drawn over them.
void PlotAddedCurves(chart::TChart& chart, const PlotOutputs& plot, const std::vector<PinnedCurve>& pinned,
                     bool refillPinned, bool decibels);

// All that the replot draws: the three laws, then the added curves.
void PlotProgramState(chart::TChart& chart, const PlotOutputs& plot, const std::vector<PinnedCurve>& pinned,
                      bool refillPinned, bool decibels);
// The chart's title as the update rule gives it, in the notation's 8-bit text.
void SetProgramChartTitle(chart::TChart& chart, const std::string& title);

// The main window's chart size, as its layout places it (frm_main.ui).
inline constexpr int kProgramChartWidth = 345, kProgramChartHeight = 321;
// A chart without the window, set up as the main window's chart and showing
// what the window shows for these inputs with no curve pinned: for the files
// made without a window. Call once on a chart without series.
void ShowAsTheProgramChart(chart::TChart& chart, const MainWindowInputs& in, bool decibels);

// The bottom of the vertical axis in decibels: a volume control's useful
// range; lower values, and 0 %, are drawn there.
inline constexpr double kDecibelFloor = -60;
// A curve's percentage as the dB scale draws it: 20 log10(y / 100), no lower
// than kDecibelFloor.
double ChartDecibels(double percent);
// The dB axis' label step from min to max: of the steps of 1, 2 or 5 x 10^n
// dB, the one whose labels number closest to six, the fewer of two as close
// (10 dB and seven labels for the whole 60 dB).
double DecibelLabelStep(double min, double max);
// The vertical axis in percent (0 to 100, titled `percentTitle`) or in
// decibels (0 down to -60 dB, "Atténuation (dB)", the step above following
// every zoom and scroll).
void SetVerticalScale(chart::TChart& chart, bool decibels, const QString& percentTitle);
// The main window's vertical axis title in percent: the design's, or with a
// load the wiper's share of the input voltage, which the curve then is.
QString ProgramPercentTitle(bool loaded = false);

}  // namespace dorvane::forms
