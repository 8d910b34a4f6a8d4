#include "gfx/fonts.h"

namespace dorvane::gfx {

void InstallFontSubstitutions() {
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

int PointsToPixels(int points) { return (points * 96 + 36) / 72; }

QFont PixelFont(const QString& family, int pixelSize, bool bold) {
  QFont f(family);
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferDefault);
  return f;
}

QFont WindowFont() { return PixelFont(QStringLiteral("MS Sans Serif"), 11); }

}  // namespace dorvane::gfx
