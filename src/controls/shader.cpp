#include "controls/shader.h"

#include <cmath>

#include <QPainter>

#include "gfx/canvas.h"
#include "gfx/property.h"

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
  gfx::SetAndUpdate(*this, from_, c);
}

void TShader::setToColor(gfx::Colour c) {
  c = gfx::ToRgb(c);
  gfx::SetAndUpdate(*this, to_, c);
}

void TShader::setSteps(int steps) {
  // No bands would divide by zero: 0 is kept as one band.
  const auto s = static_cast<std::uint16_t>(steps);
  gfx::SetAndUpdate(*this, steps_, s == 0 ? std::uint16_t(1) : s);
}

void TShader::setDirection(bool vertical) {
  gfx::SetAndUpdate(*this, direction_, vertical);
}

void TShader::setColor(gfx::Colour c) {
  if (!gfx::SetAndUpdate(*this, color_, c)) return;
  QPalette pal = palette();
  pal.setColor(QPalette::Window, gfx::ToQColor(c));
  setPalette(pal);
}

void TShader::paintEvent(QPaintEvent*) {
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
