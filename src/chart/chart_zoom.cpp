#include "chart/chart_zoom.h"

#include <QCursor>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/chart_custom.h"
#include "gfx/canvas.h"

namespace dorvane::chart {

ChartMouseSettings& MouseSettings() {
  static ChartMouseSettings settings;
  return settings;
}

AxisMap CurrentMap(const TChartAxis& a) {
  const double min = a.Automatic() || a.AutomaticMinimum() ? a.ShownMin() : a.Minimum();
  const double max = a.Automatic() || a.AutomaticMaximum() ? a.ShownMax() : a.Maximum();
  return AxisMap(a.Horizontal(), a.Inverted(), a.StartPixel(), a.EndPixel(), min, max);
}

namespace {

bool Holds(Qt::KeyboardModifiers keys, Qt::KeyboardModifiers required) {
  return (keys & required) == required;
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
  const QPointF ab = b - a;
  const double len2 = QPointF::dotProduct(ab, ab);
  const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
  const QPointF d = p - (a + ab * t);
  return std::hypot(d.x(), d.y());
}

bool InAxisBand(const TChartAxis& a, QPoint pos) {
  const int gap = MouseSettings().axisClickGap;
  const int along = a.Horizontal() ? pos.x() : pos.y(), across = a.Horizontal() ? pos.y() : pos.x();
  if (along < std::min(a.StartPixel(), a.EndPixel()) || along >= std::max(a.StartPixel(), a.EndPixel()))
    return false;
  int lo = 0, hi = 0;
  switch (a.Kind()) {
    case AxisKind::Bottom:
    case AxisKind::Right:  // labels beyond the line, the gap inside the plot
      lo = a.AxisLinePos() - gap;
      hi = a.LabelsEdge();
      break;
    case AxisKind::Left:
    case AxisKind::Top:
      lo = a.LabelsEdge();
      hi = a.AxisLinePos() + gap;
      break;
    case AxisKind::Depth:
      return false;
  }
  return across >= lo && across < hi;
}

// The point or segment end of a drawn curve at pos, or -1.
int SeriesPointAt(const TCustomAxisPanel& chart, const TChartSeries& s, QPoint pos) {
  const int first = s.FirstDrawnIndex(), last = s.LastDrawnIndex();
  if (first < 0 || last < first || last >= s.Count()) return -1;
  const TChartAxis* h = s.HorizAxis() == aTopAxis ? chart.TopAxis() : chart.BottomAxis();
  const TChartAxis* v = s.VertAxis() == aRightAxis ? chart.RightAxis() : chart.LeftAxis();
  auto at = [&](int i) {
    return QPoint(h->ValueToPixel(s.XValues()->Value(i)), v->ValueToPixel(s.YValues()->Value(i)));
  };
  const int tol = kSeriesClickTolerance;
  QPoint prev = first > 0 ? at(first - 1) : at(first);
  for (int i = first; i <= last; ++i) {
    const QPoint p = at(i);
    if (std::abs(p.x() - pos.x()) <= tol && std::abs(p.y() - pos.y()) <= tol) return i;
    const bool joined = i > 0 && s.StoredColor(i) != gfx::clNone && s.StoredColor(i - 1) != gfx::clNone;
    if (joined && DistanceToSegment(pos, prev, p) <= tol) return i;
    prev = p;
  }
  return -1;
}

}  // namespace

TChartMouse::TChartMouse(TCustomChart* chart) : QObject(chart), chart_(chart) {}

std::array<TChartAxis*, 4> TChartMouse::ZoomAxes() const {
  return {chart_->TopAxis(), chart_->BottomAxis(), chart_->LeftAxis(), chart_->RightAxis()};
}

ChartHit TChartMouse::HitTest(QPoint pos) const {
  const QList<TChartSeries*>& list = chart_->SeriesList();
  const gfx::Rect plot = chart_->PlotRect();
  // Curves show only inside the plot: nothing of them can be hit outside.
  if (plot.contains(pos.x(), pos.y()))
    for (qsizetype i = list.size() - 1; i >= 0; --i) {
      TChartSeries* s = list[i];
      if (!s->Active()) continue;
      if (const int index = SeriesPointAt(*chart_, *s, pos); index >= 0)
        return {ChartHit::Series, s, index, nullptr};
    }
  for (TChartAxis* a : chart_->Axes())
    if (chart_->IsAxisShown(a) && InAxisBand(*a, pos)) return {ChartHit::Axis, nullptr, -1, a};
  const bool anyActive =
      std::any_of(list.begin(), list.end(), [](const TChartSeries* s) { return s->Active(); });
  if (anyActive && plot.contains(pos.x(), pos.y())) return {ChartHit::Plot, nullptr, -1, nullptr};
  return {};
}

void TChartMouse::StartDrag(TDragRecord& drag, QPoint pos) {
  drag = {pos.x(), pos.y(), pos.x(), pos.y(), true};
  // Remember the control's own cursor, unless the arrow is still ours.
  if (!cursorSet_ || chart_->cursor().shape() != Qt::ArrowCursor) {
    hadCursor_ = chart_->testAttribute(Qt::WA_SetCursor);
    oldCursor_ = chart_->cursor().shape();
    cursorSet_ = true;
  }
  chart_->setCursor(Qt::ArrowCursor);
}

void TChartMouse::RestoreCursor() {
  if (!cursorSet_) return;
  if (hadCursor_)
    chart_->setCursor(oldCursor_);
  else
    chart_->unsetCursor();
  cursorSet_ = false;
}

void TChartMouse::Press(Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint pos) {
  if (zoom_.active || scroll_.active) return;
  const ChartHit hit = HitTest(pos);
  switch (hit.kind) {
    case ChartHit::None:
      return;
    case ChartHit::Series:
      emit chart_->OnClickSeries(hit.series, hit.index, button, pos);
      break;
    case ChartHit::Axis:
      emit chart_->OnClickAxis(hit.axis, button, pos);
      break;
    case ChartHit::Plot:
      emit chart_->OnClickBackground(button, pos);
      break;
  }
  const ChartMouseSettings& s = MouseSettings();
  if (button == s.zoomButton && Holds(keys, s.zoomKeys) && chart_->AllowZoom()) {
    StartDrag(zoom_, pos);
    chart_->update();  // the rubber rectangle, still empty
  } else if (button == s.scrollButton && Holds(keys, s.scrollKeys) && chart_->AllowPanning() != pmNone) {
    StartDrag(scroll_, pos);
  }
}

void TChartMouse::Move(QPoint pos) {
  if (zoom_.active && (pos.x() != zoom_.x1 || pos.y() != zoom_.y1)) {
    zoom_.x1 = pos.x();
    zoom_.y1 = pos.y();
    chart_->update();  // the image stays valid: only the rectangle moves
  }
  if (!scroll_.active) return;
  if (!chart_->PlotRect().contains(pos.x(), pos.y())) {
    scroll_.active = false;
    return;
  }
  if (pos.x() == scroll_.x1 && pos.y() == scroll_.y1) return;
  SaveState();
  const TPanningMode mode = chart_->AllowPanning();
  bool moved = false;
  if (pos.x() != scroll_.x1 && (mode == pmHorizontal || mode == pmBoth))
    moved |= ShiftAxes(true, scroll_.x1, pos.x());
  if (pos.y() != scroll_.y1 && (mode == pmVertical || mode == pmBoth))
    moved |= ShiftAxes(false, scroll_.y1, pos.y());
  scroll_.x1 = pos.x();
  scroll_.y1 = pos.y();
  if (moved) {
    emit chart_->OnScroll();
    chart_->RequestRepaint();
  }
}

bool TChartMouse::ShiftAxes(bool horizontal, int from, int to) {
  bool moved = false;
  for (TChartAxis* a : ZoomAxes()) {
    if (a->Horizontal() != horizontal) continue;
    const AxisMap map = CurrentMap(*a);
    // The value under the mouse stays under it.
    const double d = map.PixelToValue(from) - map.PixelToValue(to);
    double min = map.Min() + d, max = map.Max() + d;
    bool allow = true;
    emit chart_->OnAllowScroll(a, min, max, allow);
    if (!allow) continue;
    a->SetMinMax(min, max);
    moved = true;
  }
  return moved;
}

void TChartMouse::Release(Qt::MouseButton button, QPoint pos) {
  scroll_.active = false;
  if (!zoom_.active || button != MouseSettings().zoomButton) return;
  zoom_.active = false;
  zoom_.x1 = pos.x();
  zoom_.y1 = pos.y();
  chart_->update();  // takes the rectangle away
  if (std::abs(zoom_.x1 - zoom_.x0) <= kZoomMinDrag || std::abs(zoom_.y1 - zoom_.y0) <= kZoomMinDrag) return;
  if (zoom_.x0 < zoom_.x1 && zoom_.y0 < zoom_.y1)
    ZoomTo({zoom_.x0, zoom_.y0}, {zoom_.x1, zoom_.y1});
  else
    UndoZoom();
  chart_->RequestRepaint();
}

void TChartMouse::Leave() {
  RestoreCursor();
  scroll_.active = false;
}

void TChartMouse::Wheel(int angleDelta) {
  wheelRest_ += angleDelta;
  const int steps = wheelRest_ / 120;  // up is positive
  wheelRest_ -= steps * 120;
  if (steps == 0) return;
  for (TChartAxis* a : {chart_->LeftAxis(), chart_->RightAxis()}) {
    const AxisMap map = CurrentMap(*a);
    double min = map.Min(), max = map.Max();
    // Down raises the range, up lowers it.
    for (int i = 0; i < std::abs(steps); ++i) {
      const double d = kWheelShare * (max - min) * (steps < 0 ? 1 : -1);
      min += d;
      max += d;
    }
    a->SetMinMax(min, max);
  }
  chart_->RequestRepaint();
  chart_->repaint();
}

void TChartMouse::PaintRubberBand(QPainter& painter) const {
  if (!zoom_.active) return;
  gfx::Canvas canvas(painter);
  const gfx::Colour colour = chart_->Color() == gfx::clWhite ? gfx::clBlack : chart_->Color();
  canvas.setPen({colour, 1, gfx::PenStyle::Solid, gfx::PenMode::NotXor});
  canvas.setBrush({gfx::clWhite, gfx::BrushStyle::Clear});
  canvas.rectangle({zoom_.x0, zoom_.y0, zoom_.x1, zoom_.y1});
}

void TChartMouse::SaveState() {
  if (saved_) return;
  const auto axes = ZoomAxes();
  for (size_t i = 0; i < axes.size(); ++i) {
    const TChartAxis& a = *axes[i];
    state_[i] = {a.Automatic(), a.AutomaticMinimum(), a.AutomaticMaximum(), a.Minimum(), a.Maximum()};
  }
  saved_ = true;
}

void TChartMouse::ZoomTo(QPoint a, QPoint b) {
  const int left = std::min(a.x(), b.x()), right = std::max(a.x(), b.x());
  const int top = std::min(a.y(), b.y()), bottom = std::max(a.y(), b.y());
  SaveState();
  const auto axes = ZoomAxes();
  struct Target {
    double min, max;
  };
  std::array<Target, 4> target{};
  for (size_t i = 0; i < axes.size(); ++i) {
    const AxisMap map = CurrentMap(*axes[i]);
    target[i] = axes[i]->Horizontal() ? Target{map.PixelToValue(left), map.PixelToValue(right)}
                                      : Target{map.PixelToValue(bottom), map.PixelToValue(top)};
  }
  if (chart_->AnimatedZoom()) {
    const double share = 1.0 / std::max(1, MouseSettings().zoomFactor);
    for (int step = 1; step < chart_->AnimatedZoomSteps(); ++step) {
      for (size_t i = 0; i < axes.size(); ++i) {
        const AxisMap map = CurrentMap(*axes[i]);
        axes[i]->SetMinMax(map.Min() + (target[i].min - map.Min()) * share,
                           map.Max() + (target[i].max - map.Max()) * share);
      }
      chart_->repaint();
    }
  }
  for (size_t i = 0; i < axes.size(); ++i) axes[i]->SetMinMax(target[i].min, target[i].max);
  zoomed_ = true;
  emit chart_->OnZoom();
}

void TChartMouse::UndoZoom() {
  if (saved_) {
    const auto axes = ZoomAxes();
    for (size_t i = 0; i < axes.size(); ++i) {
      TChartAxis& a = *axes[i];
      const AxisState& s = state_[i];
      // SetMinMax fixes the axis; the saved flags come after it.
      if (!s.automatic) a.SetMinMax(s.minimum, s.maximum);
      a.setAutomatic(s.automatic);
      a.setAutomaticMinimum(s.automaticMinimum);
      a.setAutomaticMaximum(s.automaticMaximum);
    }
    saved_ = false;
  }
  emit chart_->OnUndoZoom();
  chart_->RequestRepaint();
  zoomed_ = false;
}

}  // namespace dorvane::chart
