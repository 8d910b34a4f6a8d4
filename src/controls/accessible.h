#pragma once
// What screen readers learn about the program's own controls: their role,
// a name without mark-up or mnemonic "&", their state, and the check box's
// toggle action. Install with QAccessible::installFactory before the
// controls are first asked for.
#include <QString>

class QAccessibleInterface;
class QObject;

namespace dorvane::controls {

QAccessibleInterface* AccessibleControlFactory(const QString& className, QObject* object);

// A caption as it reads: mnemonic "&" resolved, runs of white space (tabs,
// line breaks) as one blank.
QString AccessibleText(const QString& text, bool mnemonics = true);

}  // namespace dorvane::controls
