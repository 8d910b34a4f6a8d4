#include "chart/chart_parts.h"

#include "chart/chart_fonts.h"

namespace dorvane::chart {

TChartTitle::TChartTitle(QObject* parent)
    : QObject(parent),
      text_([this] { emit TextChanged(); }),
      font_(DefaultChartFont()),
      frame_(new TChartHiddenPen(this)),
      brush_(new TChartBrush(this)) {
  connect(frame_, &TChartPen::Changed, this, &TChartTitle::Changed);
  connect(brush_, &TChartBrush::Changed, this, &TChartTitle::Changed);
}

void TChartTitle::setFont(const QFont& f) {
  if (SetField(font_, f)) emit Changed();
}
void TChartTitle::setFontColor(gfx::Colour c) {
  if (SetField(fontColor_, c)) emit Changed();
}
void TChartTitle::setAlignment(TAlignment a) {
  if (SetField(alignment_, a)) emit Changed();
}
void TChartTitle::setVisible(bool v) {
  if (SetField(visible_, v)) emit Changed();
}
void TChartTitle::setAdjustFrame(bool on) {
  if (SetField(adjustFrame_, on)) emit Changed();
}
void TChartTitle::setColor(gfx::Colour c) {
  if (SetField(color_, c)) emit Changed();
}

TChartWall::TChartWall(gfx::Colour colour, QObject* parent)
    : QObject(parent), color_(colour), brush_(new TChartBrush(this)), pen_(new TChartPen(this)) {
  connect(brush_, &TChartBrush::Changed, this, &TChartWall::Changed);
  connect(pen_, &TChartPen::Changed, this, &TChartWall::Changed);
}

void TChartWall::setColor(gfx::Colour c) {
  if (SetField(color_, c)) emit Changed();
}
void TChartWall::setDark3D(bool on) {
  if (SetField(dark3D_, on)) emit Changed();
}
void TChartWall::setSize(int s) {
  if (SetField(size_, s)) emit Changed();
}

}  // namespace dorvane::chart
