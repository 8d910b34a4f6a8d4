#pragma once
// The chart panel with its series list and axes: the axes' bands and tick
// lists in the layout, the axes and then the series in the drawing.
#include <QChar>
#include <QList>
#include <QPointer>
#include <array>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/chart_panel_extended.h"
#include "chart/chart_series.h"

namespace dorvane::chart {

class TCustomAxisPanel : public TCustomChartPanelExtended {
  Q_OBJECT

 public:
  explicit TCustomAxisPanel(QWidget* parent = nullptr);
  ~TCustomAxisPanel() override;

  // --- series list ---------------------------------------------------------
  int SeriesCount() const { return int(series_.size()); }
  TChartSeries* Series(int index) const {
    return index >= 0 && index < SeriesCount() ? series_[index] : nullptr;
  }
  const QList<TChartSeries*>& SeriesList() const { return series_; }
  // Appends a series; the chart becomes its owner.
  void AddSeries(TChartSeries* series);
  // Takes a series out of the list; it stays alive, without a chart.
  void RemoveSeries(TChartSeries* series);
  // A series drawn over all the others; none by default (the list's order).
  TChartSeries* SeriesOnTop() const { return seriesOnTop_; }
  void setSeriesOnTop(TChartSeries* series);

  // --- axes ----------------------------------------------------------------
  TChartAxis* BottomAxis() const { return axes_[0]; }
  TChartAxis* TopAxis() const { return axes_[1]; }
  TChartAxis* LeftAxis() const { return axes_[2]; }
  TChartAxis* RightAxis() const { return axes_[3]; }
  TChartAxis* DepthAxis() const { return axes_[4]; }
  // In drawing order: bottom, top, left, right, depth.
  const std::array<TChartAxis*, 5>& Axes() const { return axes_; }
  // Visible, and bound to an active series unless none is active.
  bool IsAxisShown(const TChartAxis* axis) const;

  bool AxisVisible() const { return axisVisible_; }
  void setAxisVisible(bool on);
  bool ClipPoints() const { return clipPoints_; }
  void setClipPoints(bool on);
  // Stored: the chart is always drawn flat.
  bool View3D() const { return view3D_; }
  void setView3D(bool on);
  int Chart3DPercent() const { return chart3DPercent_; }
  void setChart3DPercent(int p);

  // Separators of the axis labels; by default the user's numeric locale's.
  QChar DecimalSeparator() const { return decimalSeparator_; }
  void setDecimalSeparator(QChar c);
  QChar ThousandSeparator() const { return thousandSeparator_; }
  void setThousandSeparator(QChar c);

  // A small legend inside the plot, over the curves: one line each, in its
  // curve's colour. None by default. It goes in the corner of the plot
  // where it covers the fewest pixels of the curves as drawn, the top left
  // one of those that tie; when every corner covers some, the curves are
  // drawn again over its box, under its text.
  struct PlotNote {
    gfx::Colour colour;
    QString text;
    bool operator==(const PlotNote&) const = default;
  };
  // Written over the plot's own colour (`background`), so that a grid line
  // does not cross them.
  const std::vector<PlotNote>& PlotNotes() const { return plotNotes_; }
  void setPlotNotes(const std::vector<PlotNote>& notes, gfx::Colour background);
  // The legend's box as last drawn; empty without a legend.
  gfx::Rect PlotNotesRect() const { return plotNotesRect_; }

 protected:
  void ReserveAxisSpace(gfx::Canvas& measure) override;
  void AddToBackgroundKey(BackgroundKey& key) const override;
  void DrawAxes(gfx::Canvas& canvas) override;
  void DrawSeries(gfx::Canvas& canvas) override;
  std::optional<gfx::Rect> SeriesClip() const override;
  void LayoutRestored() override;

 private:
  void DrawPlotNotes(gfx::Canvas& canvas);
  // The active series in drawing order, each clipped as the series are.
  void DrawActiveSeries(gfx::Canvas& canvas, const std::optional<gfx::Rect>& clip);
  QList<TChartSeries*> series_;
  QPointer<TChartSeries> seriesOnTop_;
  std::array<TChartAxis*, 5> axes_;
  bool axisVisible_ = true;
  bool clipPoints_ = true;
  bool view3D_ = true;
  int chart3DPercent_ = 15;
  QChar decimalSeparator_, thousandSeparator_;
  std::vector<PlotNote> plotNotes_;
  gfx::Colour plotNotesBackground_ = gfx::clBlack;
  gfx::Rect plotNotesRect_;
};

}  // namespace dorvane::chart
