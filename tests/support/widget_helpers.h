#pragma once
// Helpers of the widget tests: letting queued work run, counting paints,
// reading a dialog's Tab path and access keys.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QWidget>

namespace dorvane::testsupport {

// Runs what the event loop has queued: posted events and the repaints they
// request, which may post more.
inline void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// Counts the paint events that reach a widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

// The Tab path of a dialog (the object names, a list's inner widgets left
// out) and each field's access key, on itself or on the label that leads to
// it. Fails the test for a field without a key, a key used twice or one in
// a descender, where its underline would hide.
struct TabStop {
  QWidget* widget;
  QChar key;
};
inline QList<TabStop> TabPathWithAccessKeys(QWidget& dialog) {
  QMap<QWidget*, QString> keyOf;
  for (QLabel* label : dialog.findChildren<QLabel*>())
    if (label->buddy()) keyOf[label->buddy()] = label->text();
  for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) keyOf[b] = b->text();
  QSet<QChar> keys;
  QList<TabStop> path;
  for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain()) {
    if (!(w->focusPolicy() & Qt::TabFocus) || qobject_cast<QAbstractScrollArea*>(w->parentWidget())) continue;
    const QString text = keyOf.value(w);
    const qsizetype amp = text.indexOf(u'&');
    EXPECT_TRUE(amp >= 0 && amp + 1 < text.size()) << w->objectName().toStdString();
    const QChar shown = amp >= 0 && amp + 1 < text.size() ? text[amp + 1] : QChar();
    const QChar key = shown.toLower();
    EXPECT_FALSE(keys.contains(key)) << text.toStdString();
    EXPECT_FALSE(QStringLiteral("gjpqy").contains(shown)) << text.toStdString();
    keys.insert(key);
    path.append({w, key});
  }
  return path;
}

inline QStringList NamesOf(const QList<TabStop>& path) {
  QStringList names;
  for (const TabStop& stop : path) names << stop.widget->objectName();
  return names;
}

}  // namespace dorvane::testsupport
