#include "forms/application.h"

#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/wayland_window.h"

namespace dorvane::forms {
namespace {

// A window manager can leave a closed dialog (or its question) marked
// active: the keyboard goes back to the window that opened it. A Wayland
// compositor hands the keyboard on only once the closed window has gone from
// the screen, after its closing animation (weston: 0,3 s, and the keys typed
// meanwhile are lost): there the dialog's surface leaves the screen as the
// dialog hides, before the toolkit destroys it.
class FocusReturner : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWindowType()) {
      auto* window = static_cast<QWindow*>(watched);
      if (window->transientParent())
        connect(window, &QWindow::visibleChanged, this, &FocusReturner::VisibleChanged, Qt::UniqueConnection);
    }
    auto* dialog = event->type() == QEvent::Hide ? qobject_cast<QDialog*>(watched) : nullptr;
    if (!dialog || !dialog->isWindow() || !dialog->parentWidget()) return false;
    QTimer::singleShot(0, dialog->parentWidget()->window(),
                       [opener = QPointer<QWidget>(dialog->parentWidget()->window())] {
                         if (opener && opener->isVisible()) opener->activateWindow();
                       });
    return false;
  }

 private:
  // Emitted before the platform hides the window.
  void VisibleChanged(bool visible) {
    if (auto* window = qobject_cast<QWindow*>(sender()); window && !visible) platform::UnmapSurface(*window);
  }
};

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  KeepFixedWindowsAtTheirSize(*this);
  installEventFilter(new FocusReturner(this));  // owned by the application
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
