#include "controls/light_control.h"

#include <QPainter>

namespace dorvane::controls {

int TBevel::Extent() const {
  if (mode_ == bmCustom && inner_ == bvNone && outer_ == bvNone) return borderWidth_ + innerBorderWidth_;
  const int cuts = (inner_ != bvNone ? 1 : 0) + (outer_ != bvNone ? 1 : 0);
  return borderWidth_ + innerBorderWidth_ + cuts;
}

TLightControl::TLightControl(QWidget* parent) : QWidget(parent), bevel_(new TBevel(this)) {
  // Painted over the parent: nothing of our own behind the drawing.
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
}

void TLightControl::setTransparent(bool on) {
  if (transparent_ == on) return;
  transparent_ = on;
  update();
}

gfx::Colour TLightControl::Color() const {
  if (parentColor_ && parentWidget())
    return gfx::FromQColor(parentWidget()->palette().color(QPalette::Window));
  return color_;
}

void TLightControl::setColor(gfx::Colour c) {
  parentColor_ = false;
  if (color_ == c) return;
  color_ = c;
  update();
}

void TLightControl::setParentColor(bool on) {
  if (parentColor_ == on) return;
  parentColor_ = on;
  update();
}

void TLightControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  gfx::Canvas canvas(painter);
  gfx::Rect client{0, 0, width(), height()};
  if (!transparent_) canvas.fillRect(client, Color());
  const int frame = bevel_->Extent();
  client = client.inflated(-frame, -frame);
  Paint(canvas, client);
}

}  // namespace dorvane::controls
