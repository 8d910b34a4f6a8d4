#include "forms/application.h"

#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "forms/wayland_window.h"

namespace dorvane::forms {
namespace {

constexpr Qt::WindowStates kLarge = Qt::WindowMaximized | Qt::WindowFullScreen;

// A Wayland compositor ends a client whose surface does not take the size of
// a maximised state it has acknowledged (or is larger than a full-screen one),
// and it can decide that state itself: its key bindings, its window menu, its
// rules for a window that maps. The toolkit acknowledges the compositor's
// change as it applies it, clamped to the window's fixed size. There the
// fixed size is lifted from the platform window just before the toolkit
// applies a change, and put back once the window is at its own size in the
// normal state again; the program asks for that state at once.
QWidget* WidgetOf(const QWindow* window) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowHandle() == window) return w;
  return nullptr;
}

class FixedSizeKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (QWindow* window = AboutToTakeCompositorState(watched, event)) {
      if (QWidget* w = WidgetOf(window); w && Fixed(*w)) Lift(*window);
    } else if (event->type() == QEvent::Expose && watched->isWindowType()) {
      // The toolkit shows what it applied before it paints for it.
      if (QWidget* w = WidgetOf(static_cast<QWindow*>(watched)); w && Fixed(*w)) PutBackOnceNormal(*w);
    } else if (event->type() == QEvent::WindowStateChange) {
      // The platform reports to the window; the widget hears of it only when
      // the program did not ask for the state itself.
      if (event->spontaneous() && watched->isWindowType()) {
        if (QWidget* w = WidgetOf(static_cast<QWindow*>(watched))) StateChanged(*w, true);
      } else if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && !event->spontaneous()) {
        StateChanged(*w, false);
      }
    }
    return false;
  }

 private:
  // Read when asked: a message box fixes its size only as it shows. The
  // widget keeps its fixed size while its platform window's is lifted.
  static bool Fixed(const QWidget& w) { return w.minimumSize() == w.maximumSize(); }

  // A configure the toolkit is about to apply, or the first one, which comes
  // as the window maps.
  static QWindow* AboutToTakeCompositorState(QObject* watched, const QEvent* event) {
    if (!OnWayland()) return nullptr;
    if (event->type() == QEvent::Show && watched->isWindowType()) return static_cast<QWindow*>(watched);
    return WindowTakingConfigure(watched, event);
  }

  static void Lift(QWindow& window) {
    window.setMinimumSize({});
    window.setMaximumSize({QWIDGETSIZE_MAX, QWIDGETSIZE_MAX});
  }

  static void PutBackOnceNormal(const QWidget& w) {
    QWindow& window = *w.windowHandle();
    if (window.maximumSize() == w.maximumSize() || (window.windowStates() & kLarge) ||
        window.size() != w.minimumSize())
      return;
    window.setMinimumSize(w.minimumSize());
    window.setMaximumSize(w.maximumSize());
  }

  static void StateChanged(QWidget& w, bool fromPlatform) {
    if (!Fixed(w)) return;
    const bool large = w.windowHandle() && (w.windowHandle()->windowStates() & kLarge);
    // On Wayland only the compositor's answer is undone: asked before it
    // came, the normal state would cross it.
    if (large && (fromPlatform || !OnWayland())) {
      // Undone once the toolkit has finished taking the new state.
      QTimer::singleShot(0, &w, [widget = QPointer<QWidget>(&w)] {
        if (widget) widget->setWindowState(widget->windowState() & ~kLarge);
      });
    }
  }
};

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
    if (auto* window = qobject_cast<QWindow*>(sender()); window && !visible) UnmapSurface(*window);
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

void KeepFixedWindowsAtTheirSize(QApplication& app) {
  constexpr char kName[] = "dorvane.fixedSizeKeeper";
  if (app.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly)) return;
  auto* keeper = new FixedSizeKeeper(&app);  // owned by the application
  keeper->setObjectName(kName);
  app.installEventFilter(keeper);
}

}  // namespace dorvane::forms
