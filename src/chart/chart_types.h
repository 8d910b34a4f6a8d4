#pragma once
// Enumerations shared by the chart's classes, named as the chart's
// properties name them.
#include <QObject>
#include <stdexcept>

#include "gfx/property.h"

namespace dorvane::chart {
Q_NAMESPACE

// The chart's setters follow the project's one setter rule: compare, store,
// and only on a real change ask for a repaint or report the change:
// `if (SetField(member_, value)) RequestRepaint();`.
using gfx::SetField;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
Q_ENUM_NS(TPenStyle)
enum TPenMode { pmCopy, pmNotXor };
Q_ENUM_NS(TPenMode)
enum TBrushStyle { bsSolid, bsClear };
Q_ENUM_NS(TBrushStyle)
enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TPanelBevel)
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
Q_ENUM_NS(TPanningMode)
enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
Q_ENUM_NS(TAxisLabelStyle)
enum TChartListOrder { loNone, loAscending, loDescending };
Q_ENUM_NS(TChartListOrder)
enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis };
Q_ENUM_NS(THorizAxis)
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis };
Q_ENUM_NS(TVertAxis)
enum TSeriesPointerStyle {
  psRectangle,
  psCircle,
  psTriangle,
  psDownTriangle,
  psCross,
  psDiagCross,
  psStar,
  psDiamond
};
Q_ENUM_NS(TSeriesPointerStyle)

// Which side of the plot an axis belongs to.
enum class AxisKind { Bottom, Top, Left, Right, Depth };

// A refused chart setting (an axis range that contradicts itself). The
// message is the one the user would read.
class EChartError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace dorvane::chart
