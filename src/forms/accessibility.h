#pragma once
// Screen-reader support of the windows: the interfaces of the program's own
// controls and of the chart.
namespace dorvane::chart {
class TChart;
}

namespace dorvane::forms {

// Installs the factories (once; later calls do nothing). Must run before
// the first control is asked for its interface, which Qt then keeps.
void InstallAccessibility();

// Names the main window's three curves as its check boxes call them.
void TitleProgramCurves(chart::TChart& chart);

}  // namespace dorvane::forms
