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

}  // namespace dorvane::platform
