#include "forms/toolkit_language.h"

#include <QCoreApplication>
#include <memory>

#include "platform/desktop.h"

namespace dorvane::forms {

QTranslator* InstallToolkitTranslations(const QString& folder) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return nullptr;
  const QString from = folder.isEmpty() ? platform::ToolkitTranslationsFolder() : folder;
  // French whatever the user's locale: the program speaks only French.
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_fr"), from) ||
      !QCoreApplication::installTranslator(translator.get()))
    return nullptr;
  translator->setParent(app);
  return translator.release();
}

}  // namespace dorvane::forms
