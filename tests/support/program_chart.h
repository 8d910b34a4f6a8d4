#pragma once
// The main window's chart without the window, for the chart's tests and
// benchmarks: the chart's own properties as frm_main.ui sets them (a forms
// test checks the window's chart against the same values), then the
// settings of its parts and its series.
#include "chart/chart.h"
#include "forms/main_chart.h"
#include "gfx/colour.h"

namespace dorvane::testsupport {

inline void ConfigureProgramChart(chart::TChart& chart) {
  chart.setColor(gfx::clAqua);
  chart.setBackColor(gfx::clBlack);
  chart.setBevelOuter(chart::bvNone);
  chart.setMarginLeft(1);
  chart.setMarginBottom(1);
  chart.setView3D(false);
  forms::ConfigureProgramChart(chart);
}

using forms::PlotProgramCurves;

}  // namespace dorvane::testsupport
