#pragma once
// The gradient background: a fixed number of solid bands running from
// FromColor towards ToColor, top to bottom or left to right.
#include <QWidget>

#include <cstdint>

#include "gfx/colour.h"

namespace dorvane::controls {

class TShader : public QWidget {
  Q_OBJECT
  Q_PROPERTY(unsigned FromColor READ FromColor WRITE setFromColor)
  Q_PROPERTY(unsigned ToColor READ ToColor WRITE setToColor)
  Q_PROPERTY(int Steps READ Steps WRITE setSteps)
  Q_PROPERTY(bool Direction READ Direction WRITE setDirection)
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)
  Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  Q_PROPERTY(QString Version READ Version)

 public:
  explicit TShader(QWidget* parent = nullptr);

  gfx::Colour FromColor() const { return from_; }
  // System colours are stored as the RGB value they have now.
  void setFromColor(gfx::Colour c);
  gfx::Colour ToColor() const { return to_; }
  void setToColor(gfx::Colour c);
  // Number of bands, an unsigned 16-bit value; 0 is stored as 1.
  int Steps() const { return steps_; }
  void setSteps(int steps);
  // false: horizontal bands from the top; true: vertical bands from the left.
  bool Direction() const { return direction_; }
  void setDirection(bool vertical);
  // The panel's own colour (button face), what children taking their
  // parent's colour get; the bands cover it.
  gfx::Colour Color() const { return color_; }
  void setColor(gfx::Colour c);
  // Kept for the layout; never drawn.
  QString Caption() const { return caption_; }
  void setCaption(const QString& c) { caption_ = c; }
  QString Version() const { return QStringLiteral("1.1.0.0"); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  gfx::Colour from_ = gfx::clBlue;
  gfx::Colour to_ = gfx::clBlack;
  std::uint16_t steps_ = 20;
  bool direction_ = false;
  gfx::Colour color_ = gfx::clBtnFace;
  QString caption_;
};

// Rounds the exact product a * b (not its double approximation) to the
// nearest integer, an exact half to the even neighbour.
long long RoundProduct(double a, double b);

}  // namespace dorvane::controls
