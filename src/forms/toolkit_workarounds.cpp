// What the program does only because of the toolkit as Debian 12 ships it
// (Qt 6.4). Each piece says what it answers and the test that tells when it
// can go.
#include "forms/toolkit_workarounds.h"

#include <QApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "platform/wayland_window.h"

namespace dorvane::forms {

// --- Fixed-size windows on Wayland ----------------------------------------
// Can go once weston's own Super+Shift+M and Super+Shift+F leave every kind
// of window at its size with the toolkit's own clamping alone
// (OnWayland.NoWindowMaximises, with this filter not installed).
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
    if ((type == QEvent::Show || type == QEvent::Expose) && watched->isWindowType() &&
        platform::OnWayland()) {
      // Before the platform maps the window, and each time the toolkit shows
      // a change the compositor made.
      auto* window = static_cast<QWindow*>(watched);
      if (QWidget* w = WidgetOf(window); w && Fixed(*w)) {
        Unclamp(*window, *w);
        if (type == QEvent::Expose) QTimer::singleShot(0, w, [w] { BackToItsSize(*w); });
      }
    } else if (type == QEvent::LayoutRequest && platform::OnWayland()) {
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
    platform::TellCompositorSizeLimits(window, frame, frame);
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
    if (platform::OnWayland()) {
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

}  // namespace

// --- Closed windows off a Wayland screen at once --------------------------------
// weston keeps a closed window's surface for its 0,3 s fade and hands the
// keyboard back only after it: the keys typed meanwhile are lost. Just before
// the toolkit hides a window that has an opener, its surface leaves the
// screen. Can go once OnWayland.QuitsFromItsMenu passes without it (its Alt+I
// the moment the about box starts to leave).
namespace {

class SurfaceUnmapper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWindowType()) {
      auto* window = static_cast<QWindow*>(watched);
      if (window->transientParent())
        connect(window, &QWindow::visibleChanged, this, &SurfaceUnmapper::VisibleChanged,
                Qt::UniqueConnection);
    }
    return false;
  }

 private:
  // Emitted before the platform hides the window.
  void VisibleChanged(bool visible) {
    if (auto* window = qobject_cast<QWindow*>(sender()); window && !visible) platform::UnmapSurface(*window);
  }
};

}  // namespace

void UnmapClosedWindowsAtOnce(QApplication& app) {
  if (platform::OnWayland()) app.installEventFilter(new SurfaceUnmapper(&app));  // owned by the application
}

void KeepFixedWindowsAtTheirSize(QApplication& app) {
  constexpr char kName[] = "dorvane.fixedSizeKeeper";
  if (app.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly)) return;
  auto* keeper = new FixedSizeKeeper(&app);  // owned by the application
  keeper->setObjectName(kName);
  app.installEventFilter(keeper);
}

// --- Ending on Wayland --------------------------------------------------------
// The toolkit can hang while it shuts its Wayland connection (Qt 6.4, seen 3
// to 8 times in 20 under load); nothing is saved at exit, so the process ends
// once its windows are gone. Can go once OnWayland.QuitsFromItsMenu passes
// twenty times in a row under load without it.
void EndOnWaylandWithoutTeardown(int status) {
  if (!platform::OnWayland()) return;
  std::fflush(nullptr);
  std::_Exit(status);
}

// --- The toolkit's options ------------------------------------------------------
namespace {

// Kept by hand from the toolkit's own start-up: it takes these out of the
// arguments only once the application object exists, and the platform must be
// chosen before. Check the list again when the toolkit's version changes (the
// command-line tests try each kind of option).
struct ToolkitOptionKind {
  const char* name;
  enum { Flag, Value, ValueOrEquals, Equals } kind;
};
constexpr ToolkitOptionKind kToolkitOptions[] = {
    {"platform", ToolkitOptionKind::Value},
    {"platformpluginpath", ToolkitOptionKind::Value},
    {"platformtheme", ToolkitOptionKind::Value},
    {"plugin", ToolkitOptionKind::Value},
    {"qwindowgeometry", ToolkitOptionKind::Value},
    {"qwindowicon", ToolkitOptionKind::Value},
    {"qwindowtitle", ToolkitOptionKind::Value},
    {"geometry", ToolkitOptionKind::Value},
    {"title", ToolkitOptionKind::Value},
    {"icon", ToolkitOptionKind::Value},
    {"session", ToolkitOptionKind::Value},
    {"display", ToolkitOptionKind::Value},
    {"name", ToolkitOptionKind::Value},
    {"visual", ToolkitOptionKind::Value},
    {"style", ToolkitOptionKind::ValueOrEquals},
    {"stylesheet", ToolkitOptionKind::ValueOrEquals},
    {"qmljsdebugger", ToolkitOptionKind::Equals},
    {"reverse", ToolkitOptionKind::Flag},
    {"widgetcount", ToolkitOptionKind::Flag},
    {"testability", ToolkitOptionKind::Flag},
    {"nograb", ToolkitOptionKind::Flag},
    {"dograb", ToolkitOptionKind::Flag},
    {"sync", ToolkitOptionKind::Flag},
};

}  // namespace

QString ToolkitOptionName(const QString& arg) {
  return arg.mid(arg.startsWith(QStringLiteral("--")) ? 2 : 1).section(u'=', 0, 0);
}

qsizetype ToolkitArgumentCount(const QStringList& args, qsizetype i) {
  const QString& arg = args[i];
  if (!arg.startsWith(u'-') || arg == u"-" || arg == u"--") return 0;
  const bool equals = arg.contains(u'=');
  const QString name = ToolkitOptionName(arg);
  for (const ToolkitOptionKind& o : kToolkitOptions) {
    if (name != QLatin1String(o.name)) continue;
    if (equals)
      return o.kind == ToolkitOptionKind::ValueOrEquals || o.kind == ToolkitOptionKind::Equals ? 1 : 0;
    if (o.kind == ToolkitOptionKind::Flag) return 1;
    if (o.kind == ToolkitOptionKind::Equals) return 0;
    return i + 1 < args.size() ? 2 : 0;
  }
  return 0;
}

// --- The PDF page box -------------------------------------------------------------
// The chart is 345 x 321 pixels, 258,75 x 240,75 points: the toolkit's page
// layout keeps page sizes in whole points (its PDF writer writes the page box
// from a QRect), so the box it wrote is set to the chart's size here. It can
// go once a page of a fractional size in points comes out of the writer as
// it is (the PDF test reads the page size with pdfinfo).
bool SetPdfPageBox(QByteArray& pdf, QSizeF points) {
  // Qt gives the page whole points and draws down from its top edge.
  static const QRegularExpression kBox(QStringLiteral(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])"));
  const QRegularExpressionMatch m = kBox.match(QString::fromLatin1(pdf));
  if (!m.hasMatch()) return false;
  const double top = m.captured(2).toDouble();
  QByteArray box = QStringLiteral("/MediaBox [0 %1 %2 %3]")
                       .arg(top - points.height(), 0, 'g', 10)
                       .arg(points.width(), 0, 'g', 10)
                       .arg(top, 0, 'g', 10)
                       .toLatin1();
  if (box.size() > m.capturedLength()) return false;
  box.append(QByteArray(m.capturedLength() - box.size(), ' '));
  pdf.replace(m.capturedStart(), m.capturedLength(), box);
  return true;
}

// --- The runtime folder's notice -------------------------------------------------
namespace {

QtMessageHandler previousHandler = nullptr;

// The toolkit warns on its first look for the runtime folder when
// XDG_RUNTIME_DIR is unset, also on the off-screen platform, which never uses
// it; the warning has no category of its own to switch off, so it is matched
// by its text. It can go once `dorvane --export x.csv` with XDG_RUNTIME_DIR
// unset and this handler removed leaves stderr empty (the command-line tests
// check that).
void HideUnsetRuntimeFolderNotice(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
    return;
  if (previousHandler) {
    previousHandler(type, context, message);
  } else {
    std::fputs((qFormatLogMessage(type, context, message) + u'\n').toUtf8().constData(), stderr);
  }
}

}  // namespace

void HideUnsetRuntimeFolderNotices() {
  previousHandler = qInstallMessageHandler(HideUnsetRuntimeFolderNotice);
}

}  // namespace dorvane::forms
