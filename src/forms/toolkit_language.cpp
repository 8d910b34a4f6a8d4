#include "forms/toolkit_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <memory>

namespace dorvane::forms {

QTranslator* InstallToolkitTranslations(const QString& folder) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return nullptr;
#ifdef Q_OS_WIN
  // Shipped beside the program, as the toolkit's libraries are.
  const QString from = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
#else
  const QString from = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
#endif
  // French whatever the user's locale: the program speaks only French.
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_fr"), from) ||
      !QCoreApplication::installTranslator(translator.get()))
    return nullptr;
  translator->setParent(app);
  return translator.release();
}

}  // namespace dorvane::forms
