#pragma once
// One axis of the chart: its settings, the space it takes from the plot, and
// the drawing of its title, labels, ticks and grid. The arithmetic lives in
// axis_scale.h.
#include <QFont>
#include <QObject>
#include <QString>
#include <vector>

#include "chart/axis_scale.h"
#include "chart/chart_pens.h"
#include "chart/chart_types.h"
#include "gfx/canvas.h"

namespace dorvane::chart {

class TCustomAxisPanel;

class TChartAxisTitle : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  Q_PROPERTY(int Angle READ Angle WRITE setAngle)
  Q_PROPERTY(QFont Font READ Font WRITE setFont)

 public:
  TChartAxisTitle(int angle, const QFont& font, QObject* parent)
      : QObject(parent), angle_(angle), font_(font) {}
  QString Caption() const { return caption_; }
  void setCaption(const QString& c);
  int Angle() const { return angle_; }
  void setAngle(int a);
  QFont Font() const { return font_; }
  void setFont(const QFont& f);

 signals:
  void Changed();

 private:
  QString caption_;
  int angle_;
  QFont font_;
};

// A label the axis writes: its value, its pixel along the axis, its text.
struct AxisLabel {
  double value = 0;
  int pixel = 0;
  QString text;
};

// What the layout worked out for an axis; the drawing, the series, the
// mouse handling and the export read it.
struct AxisGeometry {
  bool shown = false;
  TAxisLabelStyle labelStyle = talNone;  // talAuto resolved
  AxisMap map;
  int axisLinePos = 0;
  int labelsEdge = 0;
  int titleEdge = 0;
  double step = 0;
  std::vector<int> ticks;         // pixels of the labels' ticks, top value first
  std::vector<AxisLabel> labels;  // the labels written, top value first
  std::vector<int> minorTicks;    // pixels of the minor ticks, when any are drawn
};

class TChartAxis : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
  Q_PROPERTY(bool Automatic READ Automatic WRITE setAutomatic)
  Q_PROPERTY(bool AutomaticMinimum READ AutomaticMinimum WRITE setAutomaticMinimum)
  Q_PROPERTY(bool AutomaticMaximum READ AutomaticMaximum WRITE setAutomaticMaximum)
  Q_PROPERTY(double Minimum READ Minimum WRITE setMinimum)
  Q_PROPERTY(double Maximum READ Maximum WRITE setMaximum)
  Q_PROPERTY(double Increment READ Increment WRITE setIncrement)
  Q_PROPERTY(bool Labels READ Labels WRITE setLabels)
  Q_PROPERTY(QFont LabelsFont READ LabelsFont WRITE setLabelsFont)
  Q_PROPERTY(int LabelsAngle READ LabelsAngle WRITE setLabelsAngle)
  Q_PROPERTY(int LabelsSeparation READ LabelsSeparation WRITE setLabelsSeparation)
  Q_PROPERTY(int LabelsSize READ LabelsSize WRITE setLabelsSize)
  Q_PROPERTY(int TitleSize READ TitleSize WRITE setTitleSize)
  Q_PROPERTY(bool LabelsOnAxis READ LabelsOnAxis WRITE setLabelsOnAxis)
  Q_PROPERTY(dorvane::chart::TAxisLabelStyle LabelStyle READ LabelStyle WRITE setLabelStyle)
  Q_PROPERTY(bool LabelsMultiLine READ LabelsMultiLine WRITE setLabelsMultiLine)
  Q_PROPERTY(QString AxisValuesFormat READ AxisValuesFormat WRITE setAxisValuesFormat)
  Q_PROPERTY(bool RoundFirstLabel READ RoundFirstLabel WRITE setRoundFirstLabel)
  Q_PROPERTY(bool TickOnLabelsOnly READ TickOnLabelsOnly WRITE setTickOnLabelsOnly)
  Q_PROPERTY(int TickLength READ TickLength WRITE setTickLength)
  Q_PROPERTY(int TickInnerLength READ TickInnerLength WRITE setTickInnerLength)
  Q_PROPERTY(int MinorTickLength READ MinorTickLength WRITE setMinorTickLength)
  Q_PROPERTY(int MinorTickCount READ MinorTickCount WRITE setMinorTickCount)
  Q_PROPERTY(bool GridCentered READ GridCentered WRITE setGridCentered)
  Q_PROPERTY(bool Inverted READ Inverted WRITE setInverted)
  Q_PROPERTY(bool Logarithmic READ Logarithmic WRITE setLogarithmic)
  Q_PROPERTY(double StartPosition READ StartPosition WRITE setStartPosition)
  Q_PROPERTY(double EndPosition READ EndPosition WRITE setEndPosition)
  Q_PROPERTY(double PositionPercent READ PositionPercent WRITE setPositionPercent)

 public:
  TChartAxis(AxisKind kind, TCustomAxisPanel* chart);

  AxisKind Kind() const { return kind_; }
  bool Horizontal() const { return kind_ == AxisKind::Bottom || kind_ == AxisKind::Top; }
  TCustomAxisPanel* ParentChart() const { return chart_; }

  // --- properties --------------------------------------------------------
  bool Visible() const { return visible_; }
  void setVisible(bool v);
  bool Automatic() const { return automatic_; }
  void setAutomatic(bool v);
  bool AutomaticMinimum() const { return automaticMinimum_; }
  void setAutomaticMinimum(bool v);
  bool AutomaticMaximum() const { return automaticMaximum_; }
  void setAutomaticMaximum(bool v);
  double Minimum() const { return minimum_; }
  // Throws EChartError when above Maximum (outside loading).
  void setMinimum(double v);
  double Maximum() const { return maximum_; }
  // Throws EChartError when below Minimum (outside loading).
  void setMaximum(double v);
  double Increment() const { return increment_; }
  // Throws EChartError when negative.
  void setIncrement(double v);
  // Both bounds at once: reversed bounds are swapped and a range narrower
  // than 1e-10 is widened to 1e-10. The range becomes fixed.
  void SetMinMax(double min, double max);

  bool Labels() const { return labels_; }
  void setLabels(bool v);
  QFont LabelsFont() const { return labelsFont_; }
  void setLabelsFont(const QFont& f);
  int LabelsAngle() const { return labelsAngle_; }
  void setLabelsAngle(int a);
  int LabelsSeparation() const { return labelsSeparation_; }
  void setLabelsSeparation(int v);
  int LabelsSize() const { return labelsSize_; }
  void setLabelsSize(int v);
  int TitleSize() const { return titleSize_; }
  void setTitleSize(int v);
  bool LabelsOnAxis() const { return labelsOnAxis_; }
  void setLabelsOnAxis(bool v);
  TAxisLabelStyle LabelStyle() const { return labelStyle_; }
  void setLabelStyle(TAxisLabelStyle s);
  bool LabelsMultiLine() const { return labelsMultiLine_; }
  void setLabelsMultiLine(bool v);
  // Stored for completeness; labels are always written as "#,##0.###".
  QString AxisValuesFormat() const { return valuesFormat_; }
  void setAxisValuesFormat(const QString& f);
  bool RoundFirstLabel() const { return roundFirstLabel_; }
  void setRoundFirstLabel(bool v);
  bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
  void setTickOnLabelsOnly(bool v);
  int TickLength() const { return tickLength_; }
  void setTickLength(int v);
  int TickInnerLength() const { return tickInnerLength_; }
  void setTickInnerLength(int v);
  int MinorTickLength() const { return minorTickLength_; }
  void setMinorTickLength(int v);
  int MinorTickCount() const { return minorTickCount_; }
  void setMinorTickCount(int v);
  bool GridCentered() const { return gridCentered_; }
  void setGridCentered(bool v);
  bool Inverted() const { return inverted_; }
  void setInverted(bool v);
  // Stored only: the axis is always linear.
  bool Logarithmic() const { return logarithmic_; }
  void setLogarithmic(bool v);
  double StartPosition() const { return startPosition_; }
  void setStartPosition(double v);
  double EndPosition() const { return endPosition_; }
  void setEndPosition(double v);
  double PositionPercent() const { return positionPercent_; }
  void setPositionPercent(double v);

  TChartAxisPen* Axis() const { return axisPen_; }
  TDarkGrayPen* Ticks() const { return ticks_; }
  TDarkGrayPen* TicksInner() const { return ticksInner_; }
  TDarkGrayPen* MinorTicks() const { return minorTicks_; }
  TDottedGrayPen* Grid() const { return grid_; }
  TChartHiddenPen* MinorGrid() const { return minorGrid_; }
  TChartAxisTitle* Title() const { return title_; }

  // --- geometry of the chart's layout (laid out on demand) ----------------
  const AxisGeometry& Geometry() const;
  const AxisMap& Map() const { return Geometry().map; }
  int ValueToPixel(double value) const { return Map().ValueToPixel(value); }
  double PixelToValue(int pixel) const { return Map().PixelToValue(pixel); }
  double ShownMin() const { return Map().Min(); }
  double ShownMax() const { return Map().Max(); }
  int StartPixel() const { return Map().StartPixel(); }
  int EndPixel() const { return Map().EndPixel(); }
  int AxisLinePos() const { return Geometry().axisLinePos; }
  int LabelsEdge() const { return Geometry().labelsEdge; }
  int TitleEdge() const { return Geometry().titleEdge; }
  const std::vector<int>& TickPositions() const { return Geometry().ticks; }

  // --- layout, called by the chart in this order; the canvas measures -----
  // Range in use and label style. hasSeries: an active series is bound to
  // the axis; haveValues: those series hold points, from autoMin to autoMax.
  void BeginPass(bool shown, bool hasSeries, bool haveValues, double autoMin, double autoMax);
  // Takes the title, label and tick bands off the plot rectangle's side.
  void ReserveSpace(gfx::Canvas& measure, gfx::Rect& plot);
  // Pixel span from the final plot rectangle.
  void SetSpan(const gfx::Rect& plot);
  // The axis line, the label step, the labels, ticks and minor ticks.
  void LayOutTicks(gfx::Canvas& measure, const gfx::Rect& plot);

  // --- drawing: title, labels and lines where the layout put them ---------
  void Draw(gfx::Canvas& canvas, const gfx::Rect& plot);

  QString LabelText(double value) const;

 signals:
  void Changed();

 private:
  void Changed_() { emit Changed(); }
  bool Loading() const;
  // The label step for the current range and span.
  double ComputeStep(gfx::Canvas& measure) const;
  int LabelsBandSize(gfx::Canvas& measure) const;
  void DrawTitle(gfx::Canvas& canvas);
  void DrawLabels(gfx::Canvas& canvas) const;
  void DrawLines(gfx::Canvas& canvas, const gfx::Rect& plot);
  void Tick(gfx::Canvas& canvas, int pos, int offset, int length, bool outwards);
  void GridLine(gfx::Canvas& canvas, const gfx::Rect& plot, int pos);

  AxisKind kind_;
  TCustomAxisPanel* chart_;

  bool visible_ = true;
  bool automatic_ = true, automaticMinimum_ = true, automaticMaximum_ = true;
  double minimum_ = 0, maximum_ = 0, increment_ = 0;
  bool labels_ = true;
  QFont labelsFont_;
  int labelsAngle_ = 0;
  int labelsSeparation_ = 10;
  int labelsSize_ = 0, titleSize_ = 0;
  bool labelsOnAxis_ = true;
  TAxisLabelStyle labelStyle_ = talAuto;
  bool labelsMultiLine_ = false;
  QString valuesFormat_ = QStringLiteral("#,##0.###");
  bool roundFirstLabel_ = true;
  bool tickOnLabelsOnly_ = true;
  int tickLength_ = 4, tickInnerLength_ = 0, minorTickLength_ = 2, minorTickCount_ = 3;
  bool gridCentered_ = false;
  bool inverted_ = false, logarithmic_ = false;
  double startPosition_ = 0, endPosition_ = 100, positionPercent_ = 0;

  TChartAxisPen* axisPen_;
  TDarkGrayPen* ticks_;
  TDarkGrayPen* ticksInner_;
  TDarkGrayPen* minorTicks_;
  TDottedGrayPen* grid_;
  TChartHiddenPen* minorGrid_;
  TChartAxisTitle* title_;

  // In the chart's layout in use; an axis without a chart keeps its own.
  AxisGeometry ownGeometry_;
  AxisGeometry& geometry_;
};

}  // namespace dorvane::chart
