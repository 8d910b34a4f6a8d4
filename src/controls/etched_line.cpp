#include "controls/etched_line.h"

#include <QPainter>

#include "gfx/canvas.h"

namespace dorvane::controls {

TEtchedLine::TEtchedLine(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TEtchedLine::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  gfx::Canvas canvas(painter);
  canvas.fillRect({0, 0, width(), 1}, gfx::clBtnShadow);
  canvas.fillRect({0, 1, width(), 2}, gfx::clBtnHighlight);
}

}  // namespace dorvane::controls
