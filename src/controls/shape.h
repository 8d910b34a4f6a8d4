#pragma once
// A rectangle filling its bounds with its brush, outlined by a pen.
#include <QWidget>

#include "gfx/colour.h"

namespace dorvane::controls {

class TShape : public QWidget {
  Q_OBJECT
  Q_PROPERTY(unsigned BrushColor READ BrushColor WRITE setBrushColor)
  Q_PROPERTY(unsigned PenColor READ PenColor WRITE setPenColor)
  Q_PROPERTY(int PenWidth READ PenWidth WRITE setPenWidth)

 public:
  explicit TShape(QWidget* parent = nullptr);

  gfx::Colour BrushColor() const { return brush_; }
  void setBrushColor(gfx::Colour c);
  gfx::Colour PenColor() const { return pen_; }
  void setPenColor(gfx::Colour c);
  int PenWidth() const { return penWidth_; }
  void setPenWidth(int w);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  gfx::Colour brush_ = gfx::clWhite;
  gfx::Colour pen_ = gfx::clBlack;
  int penWidth_ = 1;
};

}  // namespace dorvane::controls
