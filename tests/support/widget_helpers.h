#pragma once
// Helpers of the widget tests: letting queued work run, counting paints.
#include <QApplication>
#include <QEvent>
#include <QObject>
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

}  // namespace dorvane::testsupport
