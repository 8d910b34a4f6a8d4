#pragma once
// Pens and brushes of the chart's parts. Every change is reported through
// Changed(), which the owning chart turns into a repaint request.
#include <QObject>

#include "chart/chart_types.h"
#include "gfx/canvas.h"
#include "gfx/colour.h"

namespace dorvane::chart {

class TChartPen : public QObject {
  Q_OBJECT
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)
  Q_PROPERTY(int Width READ Width WRITE setWidth)
  Q_PROPERTY(dorvane::chart::TPenStyle Style READ Style WRITE setStyle)
  Q_PROPERTY(dorvane::chart::TPenMode Mode READ Mode WRITE setMode)
  Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
  Q_PROPERTY(bool SmallDots READ SmallDots WRITE setSmallDots)

 public:
  explicit TChartPen(QObject* parent = nullptr) : QObject(parent) {}

  gfx::Colour Color() const { return color_; }
  void setColor(gfx::Colour c);
  int Width() const { return width_; }
  void setWidth(int w);
  TPenStyle Style() const { return style_; }
  void setStyle(TPenStyle s);
  TPenMode Mode() const { return mode_; }
  void setMode(TPenMode m);
  bool Visible() const { return visible_; }
  void setVisible(bool v);
  bool SmallDots() const { return smallDots_; }
  void setSmallDots(bool on);

  // The canvas pen this chart pen stands for: invisible gives the clear
  // style, small dots at width 1 the alternate-dot style. colour replaces
  // the pen's own colour when given.
  gfx::Pen ToCanvasPen() const { return ToCanvasPen(color_); }
  gfx::Pen ToCanvasPen(gfx::Colour colour) const;

 signals:
  void Changed();

 protected:
  gfx::Colour color_ = gfx::clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  bool visible_ = true;
  bool smallDots_ = false;
};

class TChartHiddenPen : public TChartPen {
  Q_OBJECT
 public:
  explicit TChartHiddenPen(QObject* parent = nullptr) : TChartPen(parent) { visible_ = false; }
};

class TDottedGrayPen : public TChartPen {
  Q_OBJECT
 public:
  explicit TDottedGrayPen(QObject* parent = nullptr) : TChartPen(parent) {
    color_ = gfx::clGray;
    style_ = psDot;
  }
};

class TDarkGrayPen : public TChartPen {
  Q_OBJECT
 public:
  explicit TDarkGrayPen(QObject* parent = nullptr) : TChartPen(parent) { color_ = gfx::clGray; }
};

class TChartAxisPen : public TChartPen {
  Q_OBJECT
 public:
  explicit TChartAxisPen(QObject* parent = nullptr) : TChartPen(parent) { width_ = 2; }
};

class TChartBrush : public QObject {
  Q_OBJECT
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)
  Q_PROPERTY(dorvane::chart::TBrushStyle Style READ Style WRITE setStyle)

 public:
  explicit TChartBrush(QObject* parent = nullptr, gfx::Colour colour = gfx::clAutomatic,
                       TBrushStyle style = bsSolid)
      : QObject(parent), color_(colour), style_(style) {}

  gfx::Colour Color() const { return color_; }
  // Giving a clear brush a colour makes it solid.
  void setColor(gfx::Colour c);
  TBrushStyle Style() const { return style_; }
  void setStyle(TBrushStyle s);

 signals:
  void Changed();

 private:
  gfx::Colour color_;
  TBrushStyle style_;
};

}  // namespace dorvane::chart
