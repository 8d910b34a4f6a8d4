#include "gfx/fonts.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <cmath>

namespace dorvane::gfx {

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

namespace {
struct AdvanceKey {
  QFont font;
  QString text;
  bool operator==(const AdvanceKey&) const = default;
};
size_t qHash(const AdvanceKey& k, size_t seed = 0) {
  return qHashMulti(seed, k.font, k.text);
}
}  // namespace

int TextAdvance(const QFont& font, const QString& text) {
  // One user-interface thread measures; the store is bounded by emptying it.
  static QHash<AdvanceKey, int> store;
  static const bool emptiedAtExit = [] {
    qAddPostRoutine([] { store.clear(); });
    return true;
  }();
  Q_UNUSED(emptiedAtExit);
  AdvanceKey key{font, text};
  if (const auto it = store.constFind(key); it != store.constEnd()) return *it;
  if (store.size() >= 1024) store.clear();
  return *store.insert(std::move(key), QFontMetrics(font).horizontalAdvance(text));
}

}  // namespace dorvane::gfx
