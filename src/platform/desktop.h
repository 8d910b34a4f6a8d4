#pragma once
// What each desktop provides the toolkit with.
#include <QByteArray>
#include <QLocale>
#include <QString>

namespace dorvane::platform {

// Where the toolkit's own translations are.
QString ToolkitTranslationsFolder();

// The toolkit's platform for a run that opens no window but measures and
// draws text (the command line's exports).
QByteArray WindowlessPlatform();

// The locale whose number format the program follows, from the name the
// environment gives ("fr_FR"; empty when LC_ALL, LC_NUMERIC and LANG are all
// unset): "C" and "POSIX" are the C locale; without a name, Linux takes the C
// locale too, Windows the regional settings.
QLocale NumericLocale(const QString& environmentName);

// The user's list separator where the system keeps one (Windows' regional
// settings, which spreadsheets there read files with), otherwise '\0'.
char ListSeparator();

// The program's name as its users see it in its message boxes, from the
// program file's name: as it is here, with a capital first letter on
// Windows, whose files' names are read without case.
QString ProgramTitle(const QString& fromFile);

}  // namespace dorvane::platform
