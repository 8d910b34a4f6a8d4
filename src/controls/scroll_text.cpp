#include "controls/scroll_text.h"

#include <QFontMetrics>
#include <cmath>

namespace dorvane::controls {

TScrollText::TScrollText(QWidget* parent)
    : TLightControl(parent), lines_{QStringLiteral("TScrollText")}, font3D_(new T3DCaption(this)) {
  setTransparent(false);
  resize(200, 20);
  connect(font3D_, &T3DCaption::Changed, this, qOverload<>(&QWidget::update));
}

void TScrollText::setLines(const QStringList& lines) {
  if (lines_ == lines) return;
  lines_ = lines;
  update();
}

void TScrollText::setAlignment(TAlignment a) {
  if (alignment_ == a) return;
  alignment_ = a;
  update();
}

void TScrollText::setDirection(TScrollDirection d) {
  if (direction_ == d) return;
  direction_ = d;
  update();
}

void TScrollText::setSteps(int steps) {
  if (steps_ == steps) return;
  steps_ = steps;
  update();
}

void TScrollText::setScroll(bool on) {
  if (scroll_ == on) return;
  scroll_ = on;
  step_ = 0;
  update();
}

void TScrollText::setFontColor(gfx::Colour c) {
  if (fontColor_ == c) return;
  fontColor_ = c;
  update();
}

int TScrollText::LineHeight() const {
  return QFontMetrics(font()).height() + font3D_->Depth();
}

gfx::Rect TScrollText::LineRect(int i, const gfx::Rect& visible) const {
  const int h = LineHeight();
  const int block = int(lines_.size()) * h;
  // Share of the pass still ahead: 1 at rest.
  const double ahead = steps_ > 0 ? 1.0 - double(step_) / steps_ : 1.0;
  const double done = 1.0 - ahead;
  int x0 = visible.left, y0 = visible.top;
  switch (direction_) {
    case sdBottomToTop:
      y0 += int(std::lround((block + visible.height()) * ahead)) - block;
      break;
    case sdTopToBottom:
      y0 += int(std::lround((block + visible.height()) * done)) - block;
      break;
    case sdRightToLeft:
      x0 += int(std::lround(2.0 * visible.width() * ahead)) - visible.width();
      break;
    case sdLeftToRight:
      x0 += int(std::lround(2.0 * visible.width() * done)) - visible.width();
      break;
  }
  return {x0, y0 + i * h, x0 + visible.width(), y0 + (i + 1) * h};
}

void TScrollText::Paint(gfx::Canvas& canvas, const gfx::Rect& client) {
  static constexpr unsigned kAlign[3] = {gfx::kAlignLeft, gfx::kAlignRight, gfx::kAlignCenter};
  const unsigned flags = gfx::kSingleLine | gfx::kExpandTabs | gfx::kMnemonics | kAlign[alignment_];
  canvas.setFont(font());
  canvas.intersectClipRect(client);
  for (int i = 0; i < lines_.size(); ++i) {
    const gfx::Rect line = LineRect(i, client);
    const bool overlaps = line.left < client.right && client.left < line.right && line.top < client.bottom &&
                          client.top < line.bottom;
    if (overlaps) DrawText3D(canvas, line, lines_[i], *font3D_, flags, fontColor_);
  }
}

}  // namespace dorvane::controls
