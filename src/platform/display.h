#pragma once
// Whether a window can open at all: the desktop the toolkit would start on.
#include <QString>

namespace dorvane::platform {

// Why the toolkit could not open a window, in French; empty when it can.
// `platformOption` and `displayOption` are the toolkit's -platform and
// -display options (empty when not given), which win over QT_QPA_PLATFORM and
// DISPLAY. Without a platform named, it picks Wayland when a compositor
// answers and its plugin is installed, else X11; with a list
// ("wayland;xcb"), the toolkit is told to start at the first entry that can
// work. Nothing to probe on Windows.
QString DisplayProblem(const QString& platformOption, const QString& displayOption);

}  // namespace dorvane::platform
