#include "platform/wayland_window.h"

#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

#include <QGuiApplication>
#include <QSize>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace dorvane::platform {

bool OnWayland() {
  return QGuiApplication::platformName().startsWith(u"wayland");
}

namespace {

void* WaylandObject(const char* name, QWindow& window) {
  if (!OnWayland()) return nullptr;
  return QGuiApplication::platformNativeInterface()->nativeResourceForWindow(name, &window);
}

}  // namespace

void TellCompositorSizeLimits(QWindow& window, QSize minimum, QSize maximum) {
  auto* toplevel = static_cast<wl_proxy*>(WaylandObject("xdg_toplevel", window));
  if (!toplevel) return;
  // The stable xdg-shell protocol's xdg_toplevel requests 7 and 8; 0 stands
  // for no limit.
  enum : uint32_t { kSetMaxSize = 7, kSetMinSize = 8 };
  const auto limit = [](int size) { return size >= QWIDGETSIZE_MAX ? 0 : std::max(size, 0); };
  const uint32_t version = wl_proxy_get_version(toplevel);
  wl_proxy_marshal_flags(toplevel, kSetMaxSize, nullptr, version, 0, limit(maximum.width()),
                         limit(maximum.height()));
  wl_proxy_marshal_flags(toplevel, kSetMinSize, nullptr, version, 0, limit(minimum.width()),
                         limit(minimum.height()));
}

void UnmapSurface(QWindow& window) {
  auto* surface = static_cast<wl_surface*>(WaylandObject("surface", window));
  if (!surface) return;
  wl_surface_attach(surface, nullptr, 0, 0);
  wl_surface_commit(surface);
}

}  // namespace dorvane::platform
