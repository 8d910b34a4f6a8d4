#pragma once
// The chart's default font: "Arial" 8 points, which the program maps onto
// Liberation Sans at 11 pixels.
#include <QFont>

#include "gfx/fonts.h"

namespace dorvane::chart {

inline QFont DefaultChartFont() {
  return gfx::PixelFont(QStringLiteral("Arial"), gfx::PointsToPixels(8));
}

}  // namespace dorvane::chart
