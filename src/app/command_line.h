#pragma once
// The command line: help, version, and saving the chart or its values
// without a window.
#include <QStringList>

namespace dorvane::app {

// Called first thing: when the arguments ask for something other than the
// window (any long option, -h, -v), the toolkit is told to start without a
// display, so that this works on a machine without one.
void PrepareCommandLine(int argc, char** argv);

// Called once the application exists, with its arguments (the toolkit's own
// taken out). Returns the exit status when the command line was handled,
// or -1 to go on and show the window.
int RunCommandLine(const QStringList& arguments);

}  // namespace dorvane::app
