#pragma once
// What the program takes from its surroundings at start-up.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

#include "forms/toolkit_workarounds.h"

namespace dorvane::forms {

// The application title: the program file's name without its folder and
// without everything from the first point, every character after the first
// in lower case ("/usr/bin/DORVANE.bin" gives "Dorvane").
QString TitleFromProgramFile(const QString& path);

// The decimal separator of the user's numeric locale (LC_ALL, else
// LC_NUMERIC, else LANG; on Windows, without them, the regional settings); a
// point for the C locale or an unknown one.
char NumericDecimalSeparator();

// Why no window can be shown (no display server to talk to), or an empty
// string when the platform looks usable. Checked before the toolkit starts so
// that the user gets a sentence instead of a toolkit abort, and decided as the
// toolkit decides: `-platform NAME` before QT_QPA_PLATFORM, each name of a
// fallback list ("wayland;xcb") in turn, `-display NAME` before DISPLAY.
// Without a platform chosen, chooses one in QT_QPA_PLATFORM: Wayland when its
// compositor answers and the toolkit's plugin is installed, else X11.
// `arguments` are the program's, its name first.
QString DisplayProblem(const QStringList& arguments = {});

// Where the toolkit's `-geometry` (or `-qwindowgeometry`) option asks the
// window to be: "+X+Y" from the top left, "-X-Y" from the bottom right of the
// screen; nothing when not asked.
struct WindowPlacement {
  QPoint offset;
  bool fromRight = false, fromBottom = false;
  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};
std::optional<WindowPlacement> RequestedPlacement(const QStringList& arguments);

// Takes `-geometry` and `-qwindowgeometry` with their values out of the
// arguments (argv keeps its end marker): the main window places itself from
// them once its frame is known, where the toolkit would place it before and
// race the window manager.
void TakeOutPlacementOptions(int& argc, char** argv);

}  // namespace dorvane::forms
