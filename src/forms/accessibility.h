#pragma once
// Screen-reader support of the windows: the interfaces of the program's own
// controls and of the chart.
namespace dorvane::forms {

// Installs the factories (once; later calls do nothing). Must run before
// the first control is asked for its interface, which Qt then keeps.
void InstallAccessibility();

}  // namespace dorvane::forms
