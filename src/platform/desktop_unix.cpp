#include <QLibraryInfo>

#include "platform/desktop.h"

namespace dorvane::platform {

QString ToolkitTranslationsFolder() {
  return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QByteArray WindowlessPlatform() {
  return QByteArrayLiteral("offscreen");
}

}  // namespace dorvane::platform
