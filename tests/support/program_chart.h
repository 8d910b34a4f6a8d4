#pragma once
// The main window's chart without the window, for the chart's tests and
// benchmarks: its settings all live in forms::ConfigureProgramChart.
#include "chart/chart.h"
#include "forms/main_chart.h"

namespace dorvane::testsupport {

using forms::ConfigureProgramChart;
using forms::PlotProgramCurves;

}  // namespace dorvane::testsupport
