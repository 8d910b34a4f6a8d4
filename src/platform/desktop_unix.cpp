#include <QLibraryInfo>

#include "platform/desktop.h"

namespace dorvane::platform {

QString ToolkitTranslationsFolder() {
  return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QByteArray WindowlessPlatform() {
  return QByteArrayLiteral("offscreen");
}

QLocale NumericLocale(const QString& name) {
  if (name.isEmpty() || name == u"C" || name == u"POSIX") return QLocale::c();
  return QLocale(name);
}

// No desktop-wide setting: the values file keeps its own rule.
char ListSeparator() {
  return '\0';
}

QString ProgramTitle(const QString& fromFile) {
  return fromFile;
}

}  // namespace dorvane::platform
