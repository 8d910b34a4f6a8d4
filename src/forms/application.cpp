#include "forms/application.h"

#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace dorvane::forms {
namespace {

// A window manager can leave a closed dialog (or its question) marked
// active: the keyboard goes back to the window that opened it. Only dialogs
// are watched, each from the moment it first takes the keyboard.
class FocusReturner : public QObject {
 public:
  explicit FocusReturner(QGuiApplication& app) : QObject(&app) {
    connect(&app, &QGuiApplication::focusWindowChanged, this, &FocusReturner::Watch);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = event->type() == QEvent::Hide ? qobject_cast<QDialog*>(watched) : nullptr;
    if (!dialog || !dialog->parentWidget()) return false;
    QTimer::singleShot(0, dialog->parentWidget()->window(),
                       [opener = QPointer<QWidget>(dialog->parentWidget()->window())] {
                         if (opener && opener->isVisible()) opener->activateWindow();
                       });
    return false;
  }

 private:
  void Watch(QWindow* focused) {
    if (!focused || !focused->transientParent()) return;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->windowHandle() == focused) {
        // Installing it again only moves it to the front.
        if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->installEventFilter(this);
        return;
      }
  }
};

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  KeepFixedWindowsAtTheirSize(*this);
  UnmapClosedWindowsAtOnce(*this);
  new FocusReturner(*this);  // owned by the application
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(error);
  }
  return true;
}

void TApplication::ShowException(const std::exception& error) {
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                        QString::fromUtf8(error.what()));
}

}  // namespace dorvane::forms
