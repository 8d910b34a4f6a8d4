#include "gfx/fonts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <cmath>

namespace dorvane::gfx {

void InstallFontSubstitutions() {
#ifndef Q_OS_WIN
  // On Windows both faces are the system's own.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
#endif
}

int PointsToPixels(int points) {
  return (points * 96 + 36) / 72;
}

QFont PixelFont(const QString& family, int pixelSize, bool bold) {
  QFont f(family);
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferDefault);
  return f;
}

QFont WindowFont() {
  return PixelFont(QStringLiteral("MS Sans Serif"), 11);
}

int LineHeight(const QFont& font, const QPaintDevice* device) {
  const QFontMetricsF fm = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
  return int(std::ceil(fm.ascent() - 1e-6)) + int(std::ceil(fm.descent() - 1e-6));
}

}  // namespace dorvane::gfx
