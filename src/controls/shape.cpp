#include "controls/shape.h"

#include <QPainter>

#include "gfx/canvas.h"
#include "gfx/property.h"

namespace dorvane::controls {

TShape::TShape(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  resize(65, 65);
}

void TShape::setBrushColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, brush_, c);
}

void TShape::setPenColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, pen_, c);
}

void TShape::setPenWidth(int w) {
  gfx::SetAndUpdate(*this, penWidth_, w);
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  gfx::Canvas canvas(painter);
  canvas.setPen({pen_, penWidth_, penWidth_ > 0 ? gfx::PenStyle::Solid : gfx::PenStyle::Clear});
  canvas.setBrush({brush_, brush_ == gfx::clNone ? gfx::BrushStyle::Clear : gfx::BrushStyle::Solid});
  canvas.rectangle({0, 0, width(), height()});
}

}  // namespace dorvane::controls
