#pragma once
// The chart panel with its background gradient and the switches of zoom and
// scroll by mouse.
#include <QObject>

#include "chart/chart_panel.h"
#include "chart/chart_types.h"
#include "gfx/colour.h"

namespace dorvane::chart {

class TChartGradient : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
  Q_PROPERTY(unsigned StartColor READ StartColor WRITE setStartColor)
  Q_PROPERTY(unsigned EndColor READ EndColor WRITE setEndColor)

 public:
  explicit TChartGradient(QObject* parent) : QObject(parent) {}
  bool Visible() const { return visible_; }
  void setVisible(bool v);
  gfx::Colour StartColor() const { return start_; }
  void setStartColor(gfx::Colour c);
  gfx::Colour EndColor() const { return end_; }
  void setEndColor(gfx::Colour c);

 signals:
  void Changed();

 private:
  bool visible_ = false;
  gfx::Colour start_ = gfx::clWhite, end_ = gfx::clYellow;
};

class TCustomChartPanelExtended : public TCustomChartPanel {
  Q_OBJECT

 public:
  explicit TCustomChartPanelExtended(QWidget* parent = nullptr);

  TChartGradient* Gradient() const { return gradient_; }
  bool AllowZoom() const { return allowZoom_; }
  void setAllowZoom(bool on);
  TPanningMode AllowPanning() const { return allowPanning_; }
  void setAllowPanning(TPanningMode m);

 protected:
  void FillBackground(gfx::Canvas& canvas, const gfx::Rect& rect) override;

 private:
  TChartGradient* gradient_;
  bool allowZoom_ = true;
  TPanningMode allowPanning_ = pmBoth;
};

}  // namespace dorvane::chart
