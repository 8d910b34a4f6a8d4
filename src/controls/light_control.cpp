#include "controls/light_control.h"

#include <QPainter>

#include "controls/parent_colour.h"
#include "gfx/property.h"

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
  gfx::SetAndUpdate(*this, transparent_, on);
}

gfx::Colour TLightControl::Color() const {
  return parentColor_ ? ParentColour(*this, color_) : color_;
}

void TLightControl::setColor(gfx::Colour c) {
  parentColor_ = false;
  gfx::SetAndUpdate(*this, color_, c);
}

void TLightControl::setParentColor(bool on) {
  gfx::SetAndUpdate(*this, parentColor_, on);
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
