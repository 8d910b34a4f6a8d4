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

}  // namespace dorvane::platform
