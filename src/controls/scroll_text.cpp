#include "controls/scroll_text.h"

#include <cmath>

#include "gfx/fonts.h"
#include "gfx/property.h"

namespace dorvane::controls {

TScrollText::TScrollText(QWidget* parent)
    : TLightControl(parent), lines_{QStringLiteral("TScrollText")}, font3D_(new T3DCaption(this)) {
  setTransparent(false);
  resize(200, 20);
  connect(font3D_, &T3DCaption::Changed, this, qOverload<>(&QWidget::update));
}

void TScrollText::setLines(const QStringList& lines) {
  gfx::SetAndUpdate(*this, lines_, lines);
}

void TScrollText::setAlignment(TAlignment a) {
  gfx::SetAndUpdate(*this, alignment_, a);
}

void TScrollText::setDirection(TScrollDirection d) {
  gfx::SetAndUpdate(*this, direction_, d);
}

void TScrollText::setSteps(int steps) {
  gfx::SetAndUpdate(*this, steps_, steps);
}

void TScrollText::setScroll(bool on) {
  if (gfx::SetAndUpdate(*this, scroll_, on)) step_ = 0;
}

void TScrollText::setFontColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, fontColor_, c);
}

int TScrollText::LineHeight() const {
  return gfx::LineHeight(font()) + font3D_->Depth();
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
