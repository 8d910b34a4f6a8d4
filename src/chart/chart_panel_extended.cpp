#include "chart/chart_panel_extended.h"

#include <QLinearGradient>
#include <QPainter>

namespace dorvane::chart {

void TChartGradient::setVisible(bool v) {
  if (SetField(visible_, v)) emit Changed();
}
void TChartGradient::setStartColor(gfx::Colour c) {
  if (SetField(start_, c)) emit Changed();
}
void TChartGradient::setEndColor(gfx::Colour c) {
  if (SetField(end_, c)) emit Changed();
}

TCustomChartPanelExtended::TCustomChartPanelExtended(QWidget* parent)
    : TCustomChartPanel(parent), gradient_(new TChartGradient(this)) {
  connect(gradient_, &TChartGradient::Changed, this, &TCustomChartPanelExtended::RequestRepaint);
}

// The switches change what the mouse does, not the picture.
void TCustomChartPanelExtended::setAllowZoom(bool on) {
  SetField(allowZoom_, on);
}
void TCustomChartPanelExtended::setAllowPanning(TPanningMode m) {
  SetField(allowPanning_, m);
}

void TCustomChartPanelExtended::FillBackground(gfx::Canvas& canvas, const gfx::Rect& rect) {
  if (!gradient_->Visible()) {
    TCustomChartPanel::FillBackground(canvas, rect);
    return;
  }
  QLinearGradient g(0, rect.top, 0, rect.bottom);
  g.setColorAt(0, gfx::ToQColor(gradient_->StartColor()));
  g.setColorAt(1, gfx::ToQColor(gradient_->EndColor()));
  canvas.painter().fillRect(rect.toQRect(), g);
}

}  // namespace dorvane::chart
