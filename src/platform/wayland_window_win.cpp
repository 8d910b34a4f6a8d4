#include "platform/wayland_window.h"

#include <QSize>

namespace dorvane::platform {

bool OnWayland() {
  return false;
}

void TellCompositorSizeLimits(QWindow&, QSize, QSize) {}

void UnmapSurface(QWindow&) {}

}  // namespace dorvane::platform
