#include <QFont>

#include "gfx/fonts.h"

namespace dorvane::gfx {

// Metric-compatible with the faces the layouts were made with.
void InstallFontSubstitutions() {
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

}  // namespace dorvane::gfx
