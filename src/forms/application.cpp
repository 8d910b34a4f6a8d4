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

constexpr Qt::WindowStates kLarge = Qt::WindowMaximized | Qt::WindowFullScreen;
constexpr char kWatched[] = "dorvane.watched";
constexpr char kFixedSize[] = "dorvane.fixedSize";
constexpr char kLifted[] = "dorvane.sizeLifted";

// A Wayland compositor ends a client whose surface does not take the size of
// a maximised state it has acknowledged, and the toolkit's own title bar
// offers maximising whatever the window's hints say. There the fixed size is
// lifted from the request until the compositor has given the normal state
// back. It can go once the toolkit's decoration hides the button of a
// fixed-size window and its shell stops sending the request for one.
bool SurfaceMustMatchTheState() {
  return QGuiApplication::platformName().startsWith(u"wayland");
}

class FixedSizeKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow()) Watch(*w);
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
  // Read when asked: a message box fixes its size only as it shows.
  static bool Fixed(const QWidget& w) { return w.minimumSize() == w.maximumSize(); }

  static QWidget* WidgetOf(const QWindow* window) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->windowHandle() == window) return w;
    return nullptr;
  }

  static void Watch(QWidget& w) {
    if (w.property(kWatched).toBool() || !w.windowHandle()) return;
    w.setProperty(kWatched, true);
    // The title bar asks the window directly, and the platform acts on the
    // request before the widget hears of it.
    QObject::connect(w.windowHandle(), &QWindow::windowStateChanged, &w,
                     [widget = &w](Qt::WindowState state) {
                       if ((state & kLarge) && SurfaceMustMatchTheState() && Fixed(*widget)) {
                         widget->setProperty(kFixedSize, widget->minimumSize());
                         widget->setProperty(kLifted, true);
                         widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
                       }
                     });
  }

  static void StateChanged(QWidget& w, bool fromPlatform) {
    const bool lifted = w.property(kLifted).toBool();
    if (!lifted && !Fixed(w)) return;
    const bool large = w.windowHandle() && (w.windowHandle()->windowStates() & kLarge);
    if (large && (fromPlatform || !SurfaceMustMatchTheState())) {
      // Undone once the toolkit has finished taking the new state.
      QTimer::singleShot(0, &w, [widget = QPointer<QWidget>(&w)] {
        if (widget) widget->setWindowState(widget->windowState() & ~kLarge);
      });
    } else if (!large && fromPlatform && lifted) {
      w.setProperty(kLifted, false);
      w.setFixedSize(w.property(kFixedSize).toSize());
    }
  }
};

// A window manager can leave a closed dialog (or its question) marked
// active: the keyboard goes back to the window that opened it.
class FocusReturner : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = event->type() == QEvent::Hide ? qobject_cast<QDialog*>(watched) : nullptr;
    if (!dialog || !dialog->isWindow() || !dialog->parentWidget()) return false;
    QTimer::singleShot(0, dialog->parentWidget()->window(),
                       [opener = QPointer<QWidget>(dialog->parentWidget()->window())] {
                         if (opener && opener->isVisible()) opener->activateWindow();
                       });
    return false;
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
