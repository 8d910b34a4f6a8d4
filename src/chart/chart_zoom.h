#pragma once
// Zoom and scroll with the mouse: a left drag over the plot zooms the axes to
// the rubber rectangle (or, dragged the other way, undoes the zoom), a right
// drag scrolls the plot, the wheel moves the vertical axes. Only the axes'
// ranges change, so a zoom survives replots until it is undone.
#include <QObject>
#include <QPoint>
#include <QRect>
#include <array>

#include "chart/axis_scale.h"

class QPainter;

namespace dorvane::chart {

class TCustomChart;
class TChartAxis;
class TChartSeries;

// Settings shared by every chart of the process.
struct ChartMouseSettings {
  Qt::MouseButton zoomButton = Qt::LeftButton;
  Qt::KeyboardModifiers zoomKeys = Qt::NoModifier;  // keys that must be held
  Qt::MouseButton scrollButton = Qt::RightButton;
  Qt::KeyboardModifiers scrollKeys = Qt::NoModifier;
  int zoomFactor = 3;    // an animated zoom step covers 1/zoomFactor of the rest
  int axisClickGap = 3;  // pixels beyond an axis line that still hit the axis
};
ChartMouseSettings& MouseSettings();

// A drag must exceed this many pixels both ways to zoom or undo.
inline constexpr int kZoomMinDrag = 16;
// How far a press may lie from a curve and still hit it.
inline constexpr int kSeriesClickTolerance = 3;
// Share of the range one wheel notch moves the vertical axes.
inline constexpr double kWheelShare = 0.03;

struct TDragRecord {
  int x0 = 0, y0 = 0;  // where the drag started
  int x1 = 0, y1 = 0;  // where it is now
  bool active = false;
};

// What a press at a point falls on.
struct ChartHit {
  enum Kind { None, Series, Axis, Plot };
  Kind kind = None;
  TChartSeries* series = nullptr;
  int index = -1;  // the point, or the end point of the segment
  TChartAxis* axis = nullptr;
};

class TChartMouse : public QObject {
  Q_OBJECT

 public:
  explicit TChartMouse(TCustomChart* chart);

  const TDragRecord& ZoomDrag() const { return zoom_; }
  const TDragRecord& ScrollDrag() const { return scroll_; }
  bool StateSaved() const { return saved_; }
  bool Zoomed() const { return zoomed_; }

  // By the geometry of the last drawing pass, in this order: a point or
  // segment of an active series (last series first), a shown axis's band,
  // the plot while a series is active. The titles lie outside all of these.
  ChartHit HitTest(QPoint pos) const;

  void Press(Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint pos);
  void Move(QPoint pos);
  void Release(Qt::MouseButton button, QPoint pos);
  void Leave();
  // angleDelta of a wheel event: each notch of 120 is one step.
  void Wheel(int angleDelta);
  // The rubber rectangle of a zoom drag, not-xor over what the painter shows.
  void PaintRubberBand(QPainter& painter) const;

  // Corners in any order.
  void ZoomTo(QPoint a, QPoint b);
  void UndoZoom();

 private:
  struct AxisState {
    bool automatic = true, automaticMinimum = true, automaticMaximum = true;
    double minimum = 0, maximum = 0;
  };
  std::array<TChartAxis*, 4> ZoomAxes() const;
  void SaveState();
  bool ShiftAxes(bool horizontal, int from, int to);
  void StartDrag(TDragRecord& drag, QPoint pos);
  void StopScroll();
  void RestoreCursor();

  TCustomChart* chart_;
  TDragRecord zoom_, scroll_;
  std::array<AxisState, 4> state_{};
  bool saved_ = false;
  bool zoomed_ = false;
  bool cursorSet_ = false, hadCursor_ = false;
  Qt::CursorShape oldCursor_ = Qt::ArrowCursor;
  int wheelRest_ = 0;
};

// The axis range in use now: the stored bounds of a fixed axis, the last
// drawn ones of an automatic axis, over the last drawn pixel span.
AxisMap CurrentMap(const TChartAxis& axis);

}  // namespace dorvane::chart
