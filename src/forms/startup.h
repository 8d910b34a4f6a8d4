#pragma once
// What the program takes from its surroundings at start-up.
#include <QString>

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
// that the user gets a sentence instead of a toolkit abort. Without a
// platform chosen in QT_QPA_PLATFORM, chooses one there: Wayland when its
// compositor answers and the toolkit's plugin is installed, else X11.
QString DisplayProblem();

}  // namespace dorvane::forms
