#pragma once
// The toolkit's own texts (the edit boxes' context menu, standard buttons)
// in French, like every other text of the program.
#include <QString>
#include <QTranslator>

namespace dorvane::forms {

// Installs the toolkit's French translations from `folder` (Qt's translations
// folder by default; on Windows the program's own folder) into the running application and returns the
// translator, owned by the application. Returns nullptr and changes nothing
// when they cannot be loaded: the program then starts with English texts.
QTranslator* InstallToolkitTranslations(const QString& folder = {});

}  // namespace dorvane::forms
