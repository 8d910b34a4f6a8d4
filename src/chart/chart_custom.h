#pragma once
// The chart with its titles, walls and legend, and the mouse: zoom, scroll
// and the wheel (the rules themselves live in chart_zoom.h).
#include <QRect>

#include "chart/chart_axis_panel.h"
#include "chart/chart_parts.h"

namespace dorvane::chart {

class TChartMouse;

class TCustomChart : public TCustomAxisPanel {
  Q_OBJECT

 public:
  explicit TCustomChart(QWidget* parent = nullptr);

  // --- zoom and scroll by mouse ------------------------------------------------
  // Zooms every axis to the pixel rectangle (corners in any order), saving
  // the ranges for UndoZoom first; raises OnZoom.
  void ZoomRect(const QRect& rect);
  // Brings back the ranges from before the first zoom or scroll (or just
  // repaints when none were saved); raises OnUndoZoom.
  void UndoZoom();
  bool Zoomed() const;
  bool AnimatedZoom() const { return animatedZoom_; }
  void setAnimatedZoom(bool on) { SetField(animatedZoom_, on); }
  int AnimatedZoomSteps() const { return animatedZoomSteps_; }
  void setAnimatedZoomSteps(int steps) { SetField(animatedZoomSteps_, steps); }
  // The drag records and the saved ranges.
  TChartMouse& Mouse();

  TChartTitle* Title() const { return title_; }
  TChartTitle* Foot() const { return foot_; }
  TChartWall* BackWall() const { return backWall_; }
  TChartWall* LeftWall() const { return leftWall_; }
  TChartWall* BottomWall() const { return bottomWall_; }
  TChartLegend* Legend() const { return legend_; }
  gfx::Colour BackColor() const { return backWall_->Color(); }
  // Also makes the back wall's brush solid.
  void setBackColor(gfx::Colour c);

 signals:
  void OnZoom();
  void OnUndoZoom();
  void OnScroll();
  // Before an axis scrolls to [min, max]; a handler may change the bounds
  // or clear allow (direct connections only).
  void OnAllowScroll(dorvane::chart::TChartAxis* axis, double& min, double& max, bool& allow);
  void OnClickSeries(dorvane::chart::TChartSeries* series, int index, Qt::MouseButton button, QPoint pos);
  void OnClickAxis(dorvane::chart::TChartAxis* axis, Qt::MouseButton button, QPoint pos);
  void OnClickBackground(Qt::MouseButton button, QPoint pos);

 protected:
  void LayOutTitles(gfx::Canvas& measure) override;
  void AddToBackgroundKey(BackgroundKey& key) const override;
  void DrawTitles(gfx::Canvas& canvas) override;
  void DrawWalls(gfx::Canvas& canvas) override;
  // The window copy of the off-screen image, with the rubber rectangle of a
  // zoom drag over it.
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  TitlePlace LayOutTitle(gfx::Canvas& measure, const TChartTitle& title, bool top);
  void DrawTitle(gfx::Canvas& canvas, const TChartTitle& title, const TitlePlace& place);

  TChartTitle* title_;
  TChartTitle* foot_;
  TChartWall* backWall_;
  TChartWall* leftWall_;
  TChartWall* bottomWall_;
  TChartLegend* legend_;
  TChartMouse* mouse_;  // a child of the chart
  TitlePlace& titlePlace_ = layout_.title;
  TitlePlace& footPlace_ = layout_.foot;
  bool animatedZoom_ = false;
  int animatedZoomSteps_ = 8;
};

}  // namespace dorvane::chart
