#include "forms/application.h"

#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "forms/wayland_window.h"

namespace dorvane::forms {
namespace {

constexpr Qt::WindowStates kLarge = Qt::WindowMaximized | Qt::WindowFullScreen;

constexpr char kNormalAsked[] = "dorvane.normalAsked";

// A Wayland compositor ends a client whose surface does not take the size of
// a maximised state it has acknowledged (or is larger than a full-screen
// one), and it can decide that state itself: its key bindings, its window
// menu, its rules for a window that maps. The toolkit acknowledges each
// change as it applies it, clamped to the window's fixed size, and may apply
// one as late as its next painting. There the platform window of a fixed
// window is never clamped: it follows what the compositor decides and the
// program asks for the normal state at once, while the widget keeps its size
// and the compositor hears of the fixed size from the program itself.
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
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Expose) && watched->isWindowType() && OnWayland()) {
      // Before the platform maps the window, and each time the toolkit shows
      // a change the compositor made.
      auto* window = static_cast<QWindow*>(watched);
      if (QWidget* w = WidgetOf(window); w && Fixed(*w)) {
        Unclamp(*window, *w);
        if (type == QEvent::Expose) QTimer::singleShot(0, w, [w] { BackToItsSize(*w); });
      }
    } else if (type == QEvent::LayoutRequest && OnWayland()) {
      // A layout can fix its window's size again, the platform window's too.
      if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow())
        QTimer::singleShot(0, w, [w] {
          if (w->windowHandle() && w->isVisible() && Fixed(*w)) Unclamp(*w->windowHandle(), *w);
        });
    } else if (type == QEvent::WindowStateChange) {
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
  // Read when asked: a message box fixes its size only as it shows.
  static bool Fixed(const QWidget& w) { return w.minimumSize() == w.maximumSize(); }

  static void Unclamp(QWindow& window, QWidget& w) {
    const QSize any(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (window.minimumSize() != QSize(0, 0) || window.maximumSize() != any) {
      window.setMinimumSize({0, 0});
      window.setMaximumSize(any);
    }
    TellFixedFrame(window, w);
    // The decorations' margins are known once the window has painted.
    QTimer::singleShot(0, &w, [widget = &w] {
      if (widget->windowHandle()) TellFixedFrame(*widget->windowHandle(), *widget);
    });
  }

  static void TellFixedFrame(QWindow& window, const QWidget& w) {
    const QSize frame = w.minimumSize().grownBy(window.frameMargins());
    TellCompositorSizeLimits(window, frame, frame);
  }

  // In the normal state the compositor can still resize the window (weston
  // does on Super and the right button, whatever the window's limits), and
  // the toolkit can bring it back from a large state at the size it had
  // before its decorations came (Qt 6.4).
  static void BackToItsSize(QWidget& w) {
    QWindow* window = w.windowHandle();
    if (!window || !w.isVisible() || (window->windowStates() & kLarge) || w.property(kNormalAsked).toBool() ||
        window->size() == w.minimumSize())
      return;
    window->resize(w.minimumSize());
  }

  static void StateChanged(QWidget& w, bool fromPlatform) {
    if (!Fixed(w)) return;
    const bool large = w.windowHandle() && (w.windowHandle()->windowStates() & kLarge);
    if (OnWayland()) {
      // Only the compositor's answer is undone (asked before it came, the
      // normal state would cross it), and once: a compositor that insists
      // keeps the window large, which it can follow.
      if (!fromPlatform) return;
      const bool asked = w.property(kNormalAsked).toBool();
      w.setProperty(kNormalAsked, large);
      if (!large || asked) return;
    } else if (!large) {
      return;
    }
    // Undone once the toolkit has finished taking the new state.
    QTimer::singleShot(0, &w, [widget = QPointer<QWidget>(&w)] {
      if (widget) widget->setWindowState(widget->windowState() & ~kLarge);
    });
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

void EndOnWaylandWithoutTeardown(int status) {
  if (!OnWayland()) return;
  std::fflush(nullptr);
  std::_Exit(status);
}

void KeepFixedWindowsAtTheirSize(QApplication& app) {
  constexpr char kName[] = "dorvane.fixedSizeKeeper";
  if (app.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly)) return;
  auto* keeper = new FixedSizeKeeper(&app);  // owned by the application
  keeper->setObjectName(kName);
  app.installEventFilter(keeper);
}

}  // namespace dorvane::forms
