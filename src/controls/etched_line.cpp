#include "controls/etched_line.h"

#include <QPainter>
#include <QPalette>
#include <QStyle>

#include "gfx/canvas.h"
#include "gfx/colour.h"

namespace dorvane::controls {

TEtchedLine::TEtchedLine(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TEtchedLine::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  gfx::Canvas canvas(painter);
  // It sits on fixed pictures (the about box's marble): the style's own
  // shadow and highlight, not a dark desktop palette's.
  const QPalette standard = style()->standardPalette();
  canvas.fillRect({0, 0, width(), 1}, gfx::FromQColor(standard.color(QPalette::Dark)));
  canvas.fillRect({0, 1, width(), 2}, gfx::FromQColor(standard.color(QPalette::Light)));
}

}  // namespace dorvane::controls
