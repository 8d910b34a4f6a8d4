#pragma once
// Ends the event loop once the watched window has painted for the first
// time, so that a whole-process timing covers start-up to the first frame.
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

class QuitAfterFirstPaint : public QObject {
 public:
  explicit QuitAfterFirstPaint(QWidget* window) : window_(window) { qApp->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!done_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_) {
      done_ = true;
      // After this paint has been delivered, not before.
      QTimer::singleShot(0, qApp, &QApplication::quit);
    }
    return false;
  }

 private:
  QWidget* window_;
  bool done_ = false;
};
