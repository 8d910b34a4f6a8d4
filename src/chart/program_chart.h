#pragma once
// The chart of the main window: its laid-out settings and the replot that
// fills its three series.
#include "chart/chart.h"
#include "core/curves.h"

namespace dorvane::chart {

// Gives the chart every value the main window lays out for it (colours,
// margins, fixed 0-100 axes with their titles, hidden legend and top and
// right axes, flat view) and creates Series1 (linear law, green 0x00FF80),
// Series2 (loaded law, red) and Series3 (theoretical log law, silver).
// Call once on a chart without series.
void ConfigureProgramChart(TChart& chart);

// The replot in the main window's order: every series emptied, the points
// of the three curves appended point by point (Series1, Series2, Series3
// for each position), then the three Active flags.
void PlotProgramCurves(TChart& chart, const Curves& curves, bool showLinear, bool showLoaded, bool showLog);

}  // namespace dorvane::chart
