#pragma once
// What the parts of Canvas share: how a batch of pending pixels is
// combined with what lies below, and the image they may go straight into.
#include <QPainter>

#include "gfx/canvas.h"

namespace dorvane::gfx::detail {

// What a batch of pending pixels does to the destination.
enum class Raster { Copy, NotXor, Invert };

inline Raster RasterOf(PenMode mode) {
  return mode == PenMode::NotXor ? Raster::NotXor : Raster::Copy;
}

inline void SetComposition(QPainter& p, Raster r) {
  switch (r) {
    case Raster::Copy:
      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
      break;
    case Raster::NotXor:
      p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
      break;
    case Raster::Invert:
      p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      break;
  }
}

}  // namespace dorvane::gfx::detail

namespace dorvane::gfx {

// A 32-bit image that the raster engine paints into, reached without
// QPainter. A run at (x, y) lands at (x + dx, y + dy): runs are in device
// pixels on the device-pixel grid, and an unscaled painter may only be moved
// by whole pixels; clip is in device pixels.
struct Canvas::DirectTarget {
  quint32* bits = nullptr;
  qsizetype stride = 0;  // in pixels
  int dx = 0, dy = 0;
  QRect clip;
};

}  // namespace dorvane::gfx
