#pragma once
// One straight wire of the circuit diagram, with an optional sign (closed
// arrow head or circle) at its start, its end, both or neither.
#include <QObject>

#include "controls/light_control.h"
#include "gfx/canvas.h"

namespace dorvane::controls {

// The pen of the line and of the sign outlines. Any change repaints the
// owning line.
class TLinePen : public QObject {
  Q_OBJECT
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)
  Q_PROPERTY(int Width READ Width WRITE setWidth)

 public:
  explicit TLinePen(QObject* parent = nullptr) : QObject(parent) {}
  gfx::Colour Color() const { return pen_.colour; }
  void setColor(gfx::Colour c);
  int Width() const { return pen_.width; }
  void setWidth(int w);
  gfx::PenStyle Style() const { return pen_.style; }
  void setStyle(gfx::PenStyle s);
  const gfx::Pen& pen() const { return pen_; }

 signals:
  void Changed();

 private:
  gfx::Pen pen_{gfx::clBlack, 1, gfx::PenStyle::Solid};
};

class TTechnicalLine : public TLightControl {
  Q_OBJECT
  Q_PROPERTY(TTechnicalLineTypes LineType READ LineType WRITE setLineType)
  Q_PROPERTY(TLineEndings LineStartSign READ LineStartSign WRITE setLineStartSign)
  Q_PROPERTY(TLineEndings LineEndingsign READ LineEndingsign WRITE setLineEndingsign)
  Q_PROPERTY(TSignPlaces SignPlaces READ SignPlaces WRITE setSignPlaces)
  Q_PROPERTY(int SignSize READ SignSize WRITE setSignSize)
  Q_PROPERTY(unsigned FillColor READ FillColor WRITE setFillColor)
  Q_PROPERTY(unsigned LineColor READ LineColor WRITE setLineColor)
  Q_PROPERTY(int LineWidth READ LineWidth WRITE setLineWidth)

 public:
  // Only the two straight courses draw; the others are kept as values.
  enum TTechnicalLineTypes {
    lsStraightLeftToRight,
    lsStraightTopToBottom,
    lsTopLeftToBottomRight,
    lsBottomLeftToTopRight,
    lsTopLeftEdge,
    lsBottomLeftEdge,
    lsTopRightEdge,
    lsBottomRightEdge,
    lsTopLeftCurve,
    lsBottomLeftCurve,
    lsTopRightCurve,
    lsBottomRightCurve,
  };
  Q_ENUM(TTechnicalLineTypes)
  // Only nothing, the closed arrows and the circle draw; the others draw
  // nothing.
  enum TLineEndings {
    leNothing,
    leOpenArrowUp,
    leOpenArrowDown,
    leOpenArrowRight,
    leOpenArrowLeft,
    leClosedArrowUp,
    leClosedArrowDown,
    leClosedArrowLeft,
    leClosedArrowRight,
    leDiamond,
    leCircle,
    leRectangle,
    leRoundRect,
    leParallelogramm,
    leComb,
    leHalfCircleLeft,
    leHalfCircleRight,
    leHalfCircleUp,
    leHalfCircleDown,
  };
  Q_ENUM(TLineEndings)
  enum TSignPlaces { spEnd, spStart, spBoth, spNoWhere };
  Q_ENUM(TSignPlaces)

  explicit TTechnicalLine(QWidget* parent = nullptr);

  TTechnicalLineTypes LineType() const { return lineType_; }
  void setLineType(TTechnicalLineTypes t);
  // A sign that SignPlaces does not show is stored without a repaint.
  TLineEndings LineStartSign() const { return startSign_; }
  void setLineStartSign(TLineEndings e);
  TLineEndings LineEndingsign() const { return endSign_; }
  void setLineEndingsign(TLineEndings e);
  TSignPlaces SignPlaces() const { return places_; }
  void setSignPlaces(TSignPlaces p);
  int SignSize() const { return signSize_; }
  void setSignSize(int s);
  // clNone leaves closed signs hollow.
  gfx::Colour FillColor() const { return fill_; }
  void setFillColor(gfx::Colour c);
  TLinePen* LineSettings() const { return pen_; }
  gfx::Colour LineColor() const { return pen_->Color(); }
  void setLineColor(gfx::Colour c) { pen_->setColor(c); }
  int LineWidth() const { return pen_->Width(); }
  void setLineWidth(int w) { pen_->setWidth(w); }

 protected:
  void Paint(gfx::Canvas& canvas, const gfx::Rect& client) override;

 private:
  void drawSign(gfx::Canvas& canvas, gfx::Rect box, TLineEndings sign) const;
  bool startShown() const { return places_ == spStart || places_ == spBoth; }
  bool endShown() const { return places_ == spEnd || places_ == spBoth; }

  TTechnicalLineTypes lineType_ = lsStraightLeftToRight;
  TLineEndings startSign_ = leNothing;
  TLineEndings endSign_ = leClosedArrowRight;
  TSignPlaces places_ = spEnd;
  int signSize_ = 40;
  gfx::Colour fill_ = gfx::clNone;
  TLinePen* pen_;
};

}  // namespace dorvane::controls
