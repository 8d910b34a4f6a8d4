#include "forms/wayland_window.h"

#include <QGuiApplication>
#include <QWindow>
#ifndef Q_OS_WIN
#include <qpa/qplatformnativeinterface.h>
#include <qpa/qplatformwindow.h>
#include <wayland-client.h>

#include <QtCore/private/qobject_p.h>
#endif

namespace dorvane::forms {

bool OnWayland() {
  return QGuiApplication::platformName().startsWith(u"wayland");
}

#ifdef Q_OS_WIN

QWindow* WindowTakingConfigure(const QObject*, const QEvent*) {
  return nullptr;
}

void UnmapSurface(QWindow&) {}

#else

// The toolkit's platform window queues a call of its applyConfigure() slot
// for each configure after the first (Qt 6.4's Wayland client); the first
// one it applies as the window maps.
QWindow* WindowTakingConfigure(const QObject* receiver, const QEvent* event) {
  if (event->type() != QEvent::MetaCall || !receiver->inherits("QtWaylandClient::QWaylandWindow"))
    return nullptr;
  static const int slot = receiver->metaObject()->indexOfMethod("applyConfigure()");
  if (slot < 0 || static_cast<const QMetaCallEvent*>(event)->id() != slot) return nullptr;
  for (QWindow* window : QGuiApplication::topLevelWindows())
    if (window->handle() && dynamic_cast<const QObject*>(window->handle()) == receiver) return window;
  return nullptr;
}

void UnmapSurface(QWindow& window) {
  if (!OnWayland()) return;
  auto* surface = static_cast<wl_surface*>(
      QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface", &window));
  if (!surface) return;
  wl_surface_attach(surface, nullptr, 0, 0);
  wl_surface_commit(surface);
}

#endif

}  // namespace dorvane::forms
