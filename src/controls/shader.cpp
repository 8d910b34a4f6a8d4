#include "controls/shader.h"

#include <cmath>

#include <QPainter>

#include "gfx/canvas.h"

namespace dorvane::controls {

long long RoundProduct(double a, double b) {
  const double p = a * b;
  const double err = std::fma(a, b, -p);  // a * b == p + err exactly
  double r = std::nearbyint(p);           // ties to even
  // p may sit on a half only because the product was rounded: the error
  // then says on which side the exact value lies.
  if (p - r == 0.5 && err > 0) r += 1;
  if (r - p == 0.5 && err < 0) r -= 1;
  return static_cast<long long>(r);
}

TShader::TShader(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(false);
  // Children align inside a 1-pixel margin: the width of the raised outer
  // bevel, which is not drawn.
  setContentsMargins(1, 1, 1, 1);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, gfx::ToQColor(color_));
  setPalette(pal);
}

void TShader::setFromColor(gfx::Colour c) {
  c = gfx::ToRgb(c);
  if (from_ == c) return;
  from_ = c;
  update();
}

void TShader::setToColor(gfx::Colour c) {
  c = gfx::ToRgb(c);
  if (to_ == c) return;
  to_ = c;
  update();
}

void TShader::setSteps(int steps) {
  const auto s = static_cast<std::uint16_t>(steps);
  if (steps_ == s) return;
  steps_ = s;
  update();
}

void TShader::setDirection(bool vertical) {
  if (direction_ == vertical) return;
  direction_ = vertical;
  update();
}

void TShader::setColor(gfx::Colour c) {
  if (color_ == c) return;
  color_ = c;
  QPalette pal = palette();
  pal.setColor(QPalette::Window, gfx::ToQColor(c));
  setPalette(pal);
  update();
}

void TShader::paintEvent(QPaintEvent*) {
  if (steps_ == 0) steps_ = 1;
  QPainter painter(this);
  gfx::Canvas canvas(painter);
  canvas.fillRect({0, 0, width(), height()}, color_);

  const int r0 = gfx::RedOf(from_), g0 = gfx::GreenOf(from_), b0 = gfx::BlueOf(from_);
  const double steps = steps_;
  const double dr = (gfx::RedOf(to_) - r0) / steps;
  const double dg = (gfx::GreenOf(to_) - g0) / steps;
  const double db = (gfx::BlueOf(to_) - b0) / steps;
  const double h = (direction_ ? width() : height()) / steps;
  const int band = static_cast<int>(RoundProduct(h, 1.0)) + 1;  // one more than its length: bands overlap

  for (int i = 0; i < steps_; ++i) {
    const gfx::Colour c =
        gfx::Rgb(r0 + int(RoundProduct(i, dr)), g0 + int(RoundProduct(i, dg)), b0 + int(RoundProduct(i, db)));
    canvas.setPen({c, 1, gfx::PenStyle::Solid});
    canvas.setBrush({c, gfx::BrushStyle::Solid});
    const int p = static_cast<std::uint16_t>(RoundProduct(i, h));
    if (direction_)
      canvas.rectangle({p, 0, p + band, height()});
    else
      canvas.rectangle({0, p, width(), p + band});
  }
}

}  // namespace dorvane::controls
