#include "chart/chart_pens.h"

#include <algorithm>

namespace dorvane::chart {

void TChartPen::setColor(gfx::Colour c) {
  if (SetField(color_, c)) emit Changed();
}
void TChartPen::setWidth(int w) {
  if (SetField(width_, std::clamp(w, 0, 10000))) emit Changed();
}
void TChartPen::setStyle(TPenStyle s) {
  if (SetField(style_, s)) emit Changed();
}
void TChartPen::setMode(TPenMode m) {
  if (SetField(mode_, m)) emit Changed();
}
void TChartPen::setVisible(bool v) {
  if (SetField(visible_, v)) emit Changed();
}
void TChartPen::setSmallDots(bool on) {
  if (SetField(smallDots_, on)) emit Changed();
}

gfx::Pen TChartPen::ToCanvasPen(gfx::Colour colour) const {
  gfx::Pen pen;
  pen.colour = colour;
  pen.width = std::max(1, width_);
  pen.mode = mode_ == pmNotXor ? gfx::PenMode::NotXor : gfx::PenMode::Copy;
  if (!visible_) {
    pen.style = gfx::PenStyle::Clear;
  } else if (smallDots_ && width_ <= 1) {
    pen.style = gfx::PenStyle::AlternateDot;
  } else {
    switch (style_) {
      case psSolid:
        pen.style = gfx::PenStyle::Solid;
        break;
      case psClear:
        pen.style = gfx::PenStyle::Clear;
        break;
      // The canvas knows one dotted pattern; dashes are drawn with it.
      case psDash:
      case psDot:
      case psDashDot:
      case psDashDotDot:
        pen.style = gfx::PenStyle::Dot;
        break;
    }
  }
  return pen;
}

void TChartBrush::setColor(gfx::Colour c) {
  bool changed = SetField(color_, c);
  if (style_ == bsClear) {
    style_ = bsSolid;
    changed = true;
  }
  if (changed) emit Changed();
}

void TChartBrush::setStyle(TBrushStyle s) {
  if (SetField(style_, s)) emit Changed();
}

}  // namespace dorvane::chart
