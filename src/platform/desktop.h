#pragma once
// What each desktop provides the toolkit with.
#include <QByteArray>
#include <QString>

namespace dorvane::platform {

// Where the toolkit's own translations are.
QString ToolkitTranslationsFolder();

// The toolkit's platform for a run that opens no window but measures and
// draws text (the command line's exports).
QByteArray WindowlessPlatform();

}  // namespace dorvane::platform
