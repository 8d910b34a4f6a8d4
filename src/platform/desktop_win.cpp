#include <windows.h>

#include <QCoreApplication>

#include "platform/desktop.h"

namespace dorvane::platform {

// Shipped beside the program, as the toolkit's libraries are.
QString ToolkitTranslationsFolder() {
  return QCoreApplication::applicationDirPath();
}

// The offscreen platform finds no fonts on Windows; the minimal one asks the
// system for them.
QByteArray WindowlessPlatform() {
  return QByteArrayLiteral("minimal:enable_fonts");
}

// Windows keeps the user's number format in the regional settings, not in
// the environment.
QLocale NumericLocale(const QString& name) {
  if (name == u"C" || name == u"POSIX") return QLocale::c();
  return name.isEmpty() ? QLocale::system() : QLocale(name);
}

// Excel splits a CSV file's lines at the regional list separator ("sList").
char ListSeparator() {
  wchar_t text[8] = {};
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SLIST, text, 8);
  // One character with its terminator; a longer one cannot be a field separator.
  return n == 2 && text[0] > 0 && text[0] < 128 ? char(text[0]) : '\0';
}

// "dorvane.exe" is "Dorvane" in the Start menu and the installed programs.
QString ProgramTitle(const QString& fromFile) {
  return fromFile.left(1).toUpper() + fromFile.mid(1);
}

}  // namespace dorvane::platform
