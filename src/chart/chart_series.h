#pragma once
// Series of the chart: point storage and the on/off flag (TChartSeries),
// segment drawing (TCustomSeries) and the line series (TLineSeries).
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "chart/chart_pens.h"
#include "chart/chart_types.h"
#include "chart/chart_value_list.h"
#include "gfx/canvas.h"
#include "gfx/colour.h"

namespace dorvane::chart {

class TCustomAxisPanel;
class TChartAxis;

struct TSeriesMarks {
  bool Visible = false;
  int ArrowLength = 8;
};

struct TSeriesPointer {
  bool Visible = true;
  TSeriesPointerStyle Style = psRectangle;
  bool InflateMargins = true;
  int HorizSize = 4;
  int VertSize = 4;
};

class TChartSeries : public QObject {
  Q_OBJECT
  friend class TCustomAxisPanel;
  Q_PROPERTY(bool Active READ Active WRITE setActive)
  Q_PROPERTY(unsigned SeriesColor READ SeriesColor WRITE setSeriesColor)
  Q_PROPERTY(bool ColorEachPoint READ ColorEachPoint WRITE setColorEachPoint)
  Q_PROPERTY(dorvane::chart::THorizAxis HorizAxis READ HorizAxis WRITE setHorizAxis)
  Q_PROPERTY(dorvane::chart::TVertAxis VertAxis READ VertAxis WRITE setVertAxis)
  Q_PROPERTY(bool ShowInLegend READ ShowInLegend WRITE setShowInLegend)

 public:
  explicit TChartSeries(QObject* parent = nullptr);
  ~TChartSeries() override;

  // Joins a chart's series list (the chart becomes the owner) or leaves it
  // with nullptr.
  void setParentChart(TCustomAxisPanel* chart);
  TCustomAxisPanel* ParentChart() const { return chart_; }

  TChartValueList* XValues() const { return xValues_; }
  TChartValueList* YValues() const { return yValues_; }
  int Count() const { return xValues_->Count(); }
  // The stored colour of a point (clAutomatic unless given), and its label.
  gfx::Colour StoredColor(int index) const { return colours_[size_t(index)]; }
  QString PointLabel(int index) const { return labels_[size_t(index)]; }

  // Stores a point where the x order puts it and returns its index, or -1
  // when OnBeforeAdd refused it. Repaints when active.
  int AddPoint(double x, double y, const QString& label = QString(), gfx::Colour colour = gfx::clAutomatic);
  // Empties the series; repaints when active.
  void RemoveAllPoints();
  // The colour a point is drawn with: its own, else the series colour.
  gfx::Colour PointColor(int index) const;

  bool Active() const { return active_; }
  void setActive(bool on);
  gfx::Colour SeriesColor() const { return seriesColor_; }
  void setSeriesColor(gfx::Colour c);
  bool ColorEachPoint() const { return colorEachPoint_; }
  void setColorEachPoint(bool on);
  THorizAxis HorizAxis() const { return horizAxis_; }
  void setHorizAxis(THorizAxis a);
  TVertAxis VertAxis() const { return vertAxis_; }
  void setVertAxis(TVertAxis a);
  bool ShowInLegend() const { return showInLegend_; }
  void setShowInLegend(bool on);
  TSeriesMarks& Marks() { return marks_; }
  const TSeriesMarks& Marks() const { return marks_; }

  bool BoundTo(AxisKind axis) const;

  // Refuses a point when it returns false.
  void setOnBeforeAdd(std::function<bool(TChartSeries*)> handler) { onBeforeAdd_ = std::move(handler); }

  // --- drawing, called by the chart for an active series -----------------
  int FirstDrawnIndex() const { return firstDrawn_; }
  int LastDrawnIndex() const { return lastDrawn_; }
  // First and last index to draw for the current plot and axes.
  virtual void CalcFirstLastVisibleIndex();
  // Draws every point of the drawn range; the chart has set the clip.
  void DrawAllValues(gfx::Canvas& canvas);

 signals:
  void OnAfterAdd(dorvane::chart::TChartSeries* series, int index);
  void OnClearValues(dorvane::chart::TChartSeries* series);
  void BeforeDrawValues(dorvane::chart::TChartSeries* series);
  void AfterDrawValues(dorvane::chart::TChartSeries* series);

 protected:
  virtual void DrawValue(gfx::Canvas& canvas, int index) = 0;
  virtual void BeginDraw() {}
  void Repaint();
  const TChartAxis* GetHorizAxis() const;
  const TChartAxis* GetVertAxis() const;

  TCustomAxisPanel* chart_ = nullptr;
  int firstDrawn_ = -1, lastDrawn_ = -1;

 private:
  TChartValueList* xValues_;
  TChartValueList* yValues_;
  std::vector<gfx::Colour> colours_;
  std::vector<QString> labels_;
  bool active_ = true;
  gfx::Colour seriesColor_ = gfx::clRed;
  bool colorEachPoint_ = false;
  THorizAxis horizAxis_ = aBottomAxis;
  TVertAxis vertAxis_ = aLeftAxis;
  bool showInLegend_ = true;
  TSeriesMarks marks_;
  std::function<bool(TChartSeries*)> onBeforeAdd_;
};

class TCustomSeries : public TChartSeries {
  Q_OBJECT
  Q_PROPERTY(bool Stairs READ Stairs WRITE setStairs)
  Q_PROPERTY(bool InvertedStairs READ InvertedStairs WRITE setInvertedStairs)
  Q_PROPERTY(int LineHeight READ LineHeight WRITE setLineHeight)
  Q_PROPERTY(bool Dark3D READ Dark3D WRITE setDark3D)

 public:
  explicit TCustomSeries(QObject* parent = nullptr);

  TChartPen* LinePen() const { return linePen_; }
  TSeriesPointer& Pointer() { return pointer_; }
  const TSeriesPointer& Pointer() const { return pointer_; }
  // Stored only: segments are always straight.
  bool Stairs() const { return stairs_; }
  void setStairs(bool on);
  bool InvertedStairs() const { return invertedStairs_; }
  void setInvertedStairs(bool on);
  // Three-dimensional settings, stored only.
  int LineHeight() const { return lineHeight_; }
  void setLineHeight(int h);
  bool Dark3D() const { return dark3D_; }
  void setDark3D(bool on);

 protected:
  void BeginDraw() override;
  void DrawValue(gfx::Canvas& canvas, int index) override;

 private:
  void Segment(gfx::Canvas& canvas, QPoint from, QPoint to, gfx::Colour colour);

  TChartPen* linePen_;
  TSeriesPointer pointer_;
  bool stairs_ = false, invertedStairs_ = false;
  int lineHeight_ = 0;
  bool dark3D_ = true;

  // Scratch state of one drawing pass: the last point drawn, if any.
  std::optional<QPoint> prev_;
  gfx::Colour prevColour_ = gfx::clAutomatic;
};

class TLineSeries : public TCustomSeries {
  Q_OBJECT
 public:
  // Segments on, point markers off.
  explicit TLineSeries(QObject* parent = nullptr);
};

}  // namespace dorvane::chart
