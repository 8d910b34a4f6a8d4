#include "controls/technical_line.h"

#include <array>

#include "gfx/property.h"

namespace dorvane::controls {

void TLinePen::setColor(gfx::Colour c) {
  if (gfx::SetField(pen_.colour, c)) emit Changed();
}

void TLinePen::setWidth(int w) {
  if (gfx::SetField(pen_.width, w)) emit Changed();
}

void TLinePen::setStyle(gfx::PenStyle s) {
  if (gfx::SetField(pen_.style, s)) emit Changed();
}

TTechnicalLine::TTechnicalLine(QWidget* parent) : TLightControl(parent), pen_(new TLinePen(this)) {
  resize(130, 45);
  connect(pen_, &TLinePen::Changed, this, qOverload<>(&QWidget::update));
}

void TTechnicalLine::setLineType(TTechnicalLineTypes t) {
  gfx::SetAndUpdate(*this, lineType_, t);
}

void TTechnicalLine::setLineStartSign(TLineEndings e) {
  if (gfx::SetField(startSign_, e) && startShown()) update();
}

void TTechnicalLine::setLineEndingsign(TLineEndings e) {
  if (gfx::SetField(endSign_, e) && endShown()) update();
}

void TTechnicalLine::setSignPlaces(TSignPlaces p) {
  gfx::SetAndUpdate(*this, places_, p);
}

void TTechnicalLine::setSignSize(int s) {
  gfx::SetAndUpdate(*this, signSize_, s);
}

void TTechnicalLine::setFillColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, fill_, c);
}

void TTechnicalLine::Paint(gfx::Canvas& canvas, const gfx::Rect& client) {
  const gfx::Pen pen = pen_->pen();
  const int p = pen.width / 2;
  const gfx::Rect work = client.inflated(-(p + 1), -(p + 1));
  const int W = work.width(), H = work.height(), S = signSize_;
  const int x0 = work.left, y0 = work.top;
  canvas.setBrush({gfx::clNone, gfx::BrushStyle::Clear});
  canvas.setPen(pen);

  auto box = [&](int l, int t, int r, int b) { return gfx::Rect{x0 + l, y0 + t, x0 + r, y0 + b}; };
  auto line = [&](int ax, int ay, int bx, int by) {
    canvas.setPen(pen);
    canvas.line(x0 + ax, y0 + ay, x0 + bx, y0 + by);
  };
  const bool atStart = startShown(), atEnd = endShown();

  switch (lineType_) {
    case lsStraightLeftToRight: {
      const int y = H / 2;
      if (atStart) drawSign(canvas, box(0, y - S / 2, S, y + S / 2), startSign_);
      line(atStart ? S : p, y, atEnd ? W - S : W - p, y);
      if (atEnd) drawSign(canvas, box(W - S, y - S / 2, W, y + S / 2), endSign_);
      break;
    }
    case lsStraightTopToBottom: {
      const int x = W / 2;
      if (atStart) drawSign(canvas, box(x - S / 2, 0, x + S / 2, S), startSign_);
      line(x, atStart ? S : p, x, atEnd ? H - S : H - p);
      if (atEnd) drawSign(canvas, box(x - S / 2, H - S, x + S / 2, H), endSign_);
      break;
    }
    default:
      break;  // diagonal, right-angled and curved courses are not drawn
  }
}

void TTechnicalLine::drawSign(gfx::Canvas& canvas, gfx::Rect b, TLineEndings sign) const {
  const gfx::Pen pen = pen_->pen();
  canvas.setPen(pen);
  if (fill_ != gfx::clNone)
    canvas.setBrush({fill_, gfx::BrushStyle::Solid});
  else
    canvas.setBrush({gfx::clNone, gfx::BrushStyle::Clear});
  if (pen.width != 1) b = b.inflated(-(pen.width / 2), -(pen.width / 2));
  const int L = b.left, T = b.top, R = b.right, B = b.bottom;
  const int mx = L + (R - L) / 2, my = T + (B - T) / 2;
  auto triangle = [&](QPoint a, QPoint c, QPoint d) {
    const std::array<QPoint, 3> pts{a, c, d};
    canvas.polygon(pts);
  };
  switch (sign) {
    case leClosedArrowUp:
      triangle({L, B}, {mx, T}, {R, B});
      break;
    case leClosedArrowDown:
      triangle({L, T}, {mx, B}, {R, T});
      break;
    case leClosedArrowLeft:
      triangle({R, T}, {L, my}, {R, B});
      break;
    case leClosedArrowRight:
      triangle({L, T}, {R, my}, {L, B});
      break;
    case leCircle:
      canvas.ellipse(b);
      break;
    default:
      break;  // nothing, or a sign the program never shows
  }
}

}  // namespace dorvane::controls
