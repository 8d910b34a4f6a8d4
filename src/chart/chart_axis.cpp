#include "chart/chart_axis.h"

#include <algorithm>
#include <cmath>

#include "chart/chart_axis_panel.h"
#include "chart/chart_fonts.h"

namespace dorvane::chart {

namespace {
// An angle at which text runs along an axis of the given direction.
bool RunsAlong(bool horizontal, int angle) {
  const int a = ((angle % 360) + 360) % 360;
  return horizontal ? (a == 0 || a == 180) : (a == 90 || a == 270);
}

constexpr size_t kMaxTicks = 2000;
// Sizes and lengths in pixels are kept where sums of them cannot overflow.
constexpr int kMaxBand = 100000;
}  // namespace

void TChartAxisTitle::setCaption(const QString& c) {
  if (SetField(caption_, c)) emit Changed();
}
void TChartAxisTitle::setAngle(int a) {
  if (SetField(angle_, a)) emit Changed();
}
void TChartAxisTitle::setFont(const QFont& f) {
  if (SetField(font_, f)) emit Changed();
}

TChartAxis::TChartAxis(AxisKind kind, TCustomAxisPanel* chart)
    : QObject(chart),
      kind_(kind),
      chart_(chart),
      labelsFont_(DefaultChartFont()),
      axisPen_(new TChartAxisPen(this)),
      ticks_(new TDarkGrayPen(this)),
      ticksInner_(new TDarkGrayPen(this)),
      minorTicks_(new TDarkGrayPen(this)),
      grid_(new TDottedGrayPen(this)),
      minorGrid_(new TChartHiddenPen(this)),
      title_(new TChartAxisTitle(kind == AxisKind::Left    ? 90
                                 : kind == AxisKind::Right ? 270
                                                           : 0,
                                 DefaultChartFont(), this)),
      geometry_(chart ? chart->AxisLayout(kind) : ownGeometry_) {
  for (TChartPen* pen : {static_cast<TChartPen*>(axisPen_), static_cast<TChartPen*>(ticks_),
                         static_cast<TChartPen*>(ticksInner_), static_cast<TChartPen*>(minorTicks_),
                         static_cast<TChartPen*>(grid_), static_cast<TChartPen*>(minorGrid_)})
    connect(pen, &TChartPen::Changed, this, &TChartAxis::Changed);
  connect(title_, &TChartAxisTitle::Changed, this, &TChartAxis::Changed);
}

bool TChartAxis::Loading() const {
  return chart_ && chart_->Loading();
}

// --- properties ---------------------------------------------------------------

void TChartAxis::setVisible(bool v) {
  if (SetField(visible_, v)) Changed_();
}
void TChartAxis::setAutomatic(bool v) {
  // Switching the whole range switches both ends with it; every field is set,
  // so no short-circuit.
  bool changed = SetField(automatic_, v);
  changed |= SetField(automaticMinimum_, v);
  changed |= SetField(automaticMaximum_, v);
  if (changed) Changed_();
}
void TChartAxis::setAutomaticMinimum(bool v) {
  if (SetField(automaticMinimum_, v)) Changed_();
}
void TChartAxis::setAutomaticMaximum(bool v) {
  if (SetField(automaticMaximum_, v)) Changed_();
}

void TChartAxis::setMinimum(double v) {
  if (!Loading() && v > maximum_) throw EChartError("La valeur minimum de l'axe doit être <= Maximum");
  if (SetField(minimum_, v)) Changed_();
}

void TChartAxis::setMaximum(double v) {
  if (!Loading() && v < minimum_) throw EChartError("La valeur maximum de l'axe doit être >= Minimum");
  if (SetField(maximum_, v)) Changed_();
}

void TChartAxis::setIncrement(double v) {
  if (!(v >= 0)) throw EChartError("L'incrément de l'axe doit être >= 0");
  if (SetField(increment_, v)) Changed_();
}

void TChartAxis::SetMinMax(double min, double max) {
  if (std::isnan(min) || std::isnan(max)) return;
  if (min > max) std::swap(min, max);
  if (max - min < 1e-10) max = min + 1e-10;
  bool changed = SetField(automatic_, false);
  changed |= SetField(automaticMinimum_, false);
  changed |= SetField(automaticMaximum_, false);
  changed |= SetField(minimum_, min);
  changed |= SetField(maximum_, max);
  if (changed) Changed_();
}

void TChartAxis::setLabels(bool v) {
  if (SetField(labels_, v)) Changed_();
}
void TChartAxis::setLabelsFont(const QFont& f) {
  if (SetField(labelsFont_, f)) Changed_();
}
void TChartAxis::setLabelsAngle(int a) {
  if (SetField(labelsAngle_, a)) Changed_();
}
void TChartAxis::setLabelsSeparation(int v) {
  if (SetField(labelsSeparation_, std::clamp(v, -10000, 10000))) Changed_();
}
void TChartAxis::setLabelsSize(int v) {
  if (SetField(labelsSize_, std::clamp(v, -kMaxBand, kMaxBand))) Changed_();
}
void TChartAxis::setTitleSize(int v) {
  if (SetField(titleSize_, std::clamp(v, -kMaxBand, kMaxBand))) Changed_();
}
void TChartAxis::setLabelsOnAxis(bool v) {
  if (SetField(labelsOnAxis_, v)) Changed_();
}
void TChartAxis::setLabelStyle(TAxisLabelStyle s) {
  if (SetField(labelStyle_, s)) Changed_();
}
void TChartAxis::setLabelsMultiLine(bool v) {
  if (SetField(labelsMultiLine_, v)) Changed_();
}
void TChartAxis::setAxisValuesFormat(const QString& f) {
  if (SetField(valuesFormat_, f)) Changed_();
}
void TChartAxis::setRoundFirstLabel(bool v) {
  if (SetField(roundFirstLabel_, v)) Changed_();
}
void TChartAxis::setTickOnLabelsOnly(bool v) {
  if (SetField(tickOnLabelsOnly_, v)) Changed_();
}
void TChartAxis::setTickLength(int v) {
  if (SetField(tickLength_, std::clamp(v, -kMaxBand, kMaxBand))) Changed_();
}
void TChartAxis::setTickInnerLength(int v) {
  if (SetField(tickInnerLength_, std::clamp(v, -kMaxBand, kMaxBand))) Changed_();
}
void TChartAxis::setMinorTickLength(int v) {
  if (SetField(minorTickLength_, std::clamp(v, -kMaxBand, kMaxBand))) Changed_();
}
void TChartAxis::setMinorTickCount(int v) {
  if (SetField(minorTickCount_, std::clamp(v, 0, 100))) Changed_();
}
void TChartAxis::setGridCentered(bool v) {
  if (SetField(gridCentered_, v)) Changed_();
}
void TChartAxis::setInverted(bool v) {
  if (SetField(inverted_, v)) Changed_();
}
void TChartAxis::setLogarithmic(bool v) {
  if (SetField(logarithmic_, v)) Changed_();
}
void TChartAxis::setStartPosition(double v) {
  if (SetField(startPosition_, v)) Changed_();
}
void TChartAxis::setEndPosition(double v) {
  if (SetField(endPosition_, v)) Changed_();
}
void TChartAxis::setPositionPercent(double v) {
  if (SetField(positionPercent_, v)) Changed_();
}

// --- layout -------------------------------------------------------------------

const AxisGeometry& TChartAxis::Geometry() const {
  if (chart_) chart_->EnsureLayout();
  return geometry_;
}

void TChartAxis::BeginPass(bool shown, bool hasSeries, bool haveValues, double autoMin, double autoMax) {
  const double min = haveValues && (automatic_ || automaticMinimum_) ? autoMin : minimum_;
  const double max = haveValues && (automatic_ || automaticMaximum_) ? autoMax : maximum_;
  geometry_ = AxisGeometry{};
  geometry_.shown = shown;
  // Labels from series texts and marks are not used: those styles show none.
  geometry_.labelStyle = labelStyle_ == talAuto    ? (hasSeries ? talValue : talNone)
                         : labelStyle_ == talValue ? talValue
                                                   : talNone;
  geometry_.map = AxisMap(Horizontal(), inverted_, 0, 0, min, max);
}

void TChartAxis::SetSpan(const gfx::Rect& plot) {
  auto offset = [](int size, double percent) {
    const double v = RoundHalfEven(size * percent / 100);
    return std::isfinite(v) ? int(std::clamp(v, -1e6, 1e6)) : 0;
  };
  int start, end;
  if (Horizontal()) {
    start = plot.left + offset(plot.width(), startPosition_);
    end = plot.left + offset(plot.width(), endPosition_);
  } else {
    start = plot.top + offset(plot.height(), startPosition_);
    end = plot.top + offset(plot.height(), endPosition_);
  }
  geometry_.map = AxisMap(Horizontal(), inverted_, start, end, geometry_.map.Min(), geometry_.map.Max());
}

QString TChartAxis::LabelText(double value) const {
  return chart_ ? FormatAxisValue(value, chart_->DecimalSeparator(), chart_->ThousandSeparator())
                : FormatAxisValue(value, u'.', u',');
}

double TChartAxis::ComputeStep(gfx::Canvas& measure) const {
  measure.setFont(labelsFont_);
  int size;
  if (Horizontal())
    size = std::max(measure.textWidth(LabelText(geometry_.map.Min())),
                    measure.textWidth(LabelText(geometry_.map.Max())));
  else
    size = measure.textHeight();
  return LabelStep({geometry_.map.Range(), geometry_.map.PixelSize(), size, labelsSeparation_, increment_});
}

int TChartAxis::LabelsBandSize(gfx::Canvas& measure) const {
  if (labelsSize_ != 0) return labelsSize_;
  measure.setFont(labelsFont_);
  if (RunsAlong(Horizontal(), labelsAngle_)) return measure.textHeight();
  if (geometry_.labelStyle != talValue) return 0;
  const double step = ComputeStep(measure);
  auto whole = [&](double v) {
    const double t = std::trunc(v / step) * step;
    return std::isfinite(t) ? t : v;
  };
  const int widest = std::max(measure.textWidth(LabelText(whole(geometry_.map.Min()))),
                              measure.textWidth(LabelText(whole(geometry_.map.Max()))));
  return widest + measure.textWidth(QStringLiteral(" "));
}

void TChartAxis::ReserveSpace(gfx::Canvas& measure, gfx::Rect& plot) {
  if (!geometry_.shown) return;
  gfx::Rect r = plot;
  // Takes size pixels off the axis's side and returns the new edge.
  auto shrink = [&](int size) {
    switch (kind_) {
      case AxisKind::Bottom:
        return r.bottom -= size;
      case AxisKind::Top:
        return r.top += size;
      case AxisKind::Left:
        return r.left += size;
      case AxisKind::Right:
        return r.right -= size;
      case AxisKind::Depth:
        break;
    }
    return 0;
  };
  // The span as it stands, for the label step of a vertical axis.
  SetSpan(r);
  if (!title_->Caption().isEmpty()) {
    int size = titleSize_;
    if (size == 0) {
      measure.setFont(title_->Font());
      size = RunsAlong(Horizontal(), title_->Angle()) ? measure.textHeight()
                                                      : measure.textWidth(title_->Caption());
    }
    geometry_.titleEdge = shrink(size);
  }
  if (labels_) geometry_.labelsEdge = shrink(LabelsBandSize(measure));
  int tickSize = (axisPen_->Visible() ? axisPen_->Width() : 0) + (ticks_->Visible() ? tickLength_ : 0);
  if (minorTicks_->Visible()) tickSize = std::max(tickSize, minorTickLength_);
  shrink(tickSize);
  if (!r.isEmpty()) plot = r;
}

void TChartAxis::LayOutTicks(gfx::Canvas& measure, const gfx::Rect& plot) {
  if (!geometry_.shown) return;
  switch (kind_) {
    case AxisKind::Bottom:
      geometry_.axisLinePos = plot.bottom;
      break;
    case AxisKind::Top:
      geometry_.axisLinePos = plot.top;
      break;
    case AxisKind::Left:
      geometry_.axisLinePos = plot.left;
      break;
    case AxisKind::Right:
      geometry_.axisLinePos = plot.right;
      break;
    case AxisKind::Depth:
      return;
  }
  if (geometry_.labelStyle != talValue) return;
  const double step = ComputeStep(measure);
  geometry_.step = step;
  const std::vector<double> values =
      LabelValues(geometry_.map.Min(), geometry_.map.Max(), step, roundFirstLabel_);
  const int start = geometry_.map.StartPixel(), end = geometry_.map.EndPixel();
  const int lo = std::min(start, end), hi = std::max(start, end);
  for (double v : values) {
    const int p = geometry_.map.ValueToPixel(v);
    // Far from zero the label loop's tolerance spans several steps of a
    // range near its 1e-10 floor: a value off the axis gets no label, tick
    // or grid line.
    if (p < lo || p > hi) continue;
    const bool drawn = labelsOnAxis_ || (p > lo && p < hi);
    if ((drawn || !tickOnLabelsOnly_) && geometry_.ticks.size() < kMaxTicks) geometry_.ticks.push_back(p);
    if (drawn && labels_) geometry_.labels.push_back({v, p, LabelText(v)});
  }

  const std::vector<int>& ticks = geometry_.ticks;
  const bool minorTicks = minorTicks_->Visible() && minorTickLength_ > 0, minorGrid = minorGrid_->Visible();
  if (ticks.empty() || minorTickCount_ <= 0 || !(minorTicks || minorGrid)) return;
  // Minor ticks between neighbouring ticks, and as many beyond both ends
  // spaced like those of the first interval, strictly inside the span.
  const int count = minorTickCount_;
  std::vector<int>& minors = geometry_.minorTicks;
  auto part = [&](int span, int j) { return int(RoundHalfEven(double(j) * span / (count + 1))); };
  for (size_t i = 1; i < ticks.size(); ++i)
    for (int j = 1; j <= count; ++j) minors.push_back(ticks[i] - part(ticks[i] - ticks[i - 1], j));
  if (ticks.size() >= 2) {
    const int first = ticks[1] - ticks[0];
    for (int j = 1; j <= count; ++j) {
      minors.push_back(ticks.front() - part(first, j));
      minors.push_back(ticks.back() + part(first, j));
    }
  }
  std::erase_if(minors, [&](int m) { return m <= lo || m >= hi; });
}

// --- drawing ------------------------------------------------------------------

void TChartAxis::Draw(gfx::Canvas& canvas, const gfx::Rect& plot) {
  if (!geometry_.shown || kind_ == AxisKind::Depth) return;
  DrawTitle(canvas);
  DrawLabels(canvas);
  DrawLines(canvas, plot);
}

void TChartAxis::DrawTitle(gfx::Canvas& canvas) {
  const QString caption = title_->Caption();
  if (caption.isEmpty()) return;
  canvas.setFont(title_->Font());
  canvas.setFontColour(gfx::clBlack);
  canvas.setBrush({gfx::clWhite, gfx::BrushStyle::Clear});
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);
  const int centre = geometry_.map.CenterPixel(), h = canvas.textHeight();
  switch (kind_) {
    case AxisKind::Bottom:
      canvas.textOut(centre, geometry_.titleEdge, caption, gfx::TextAlign::Center);
      break;
    case AxisKind::Top:
      canvas.textOut(centre, geometry_.titleEdge - h, caption, gfx::TextAlign::Center);
      break;
    case AxisKind::Left:
      // Reads upwards; the foot of the letters on TitleEdge.
      canvas.textOutRotated90(geometry_.titleEdge - h, centre + canvas.textWidth(caption) / 2, caption);
      break;
    case AxisKind::Right:
      canvas.textOutRotated90(geometry_.titleEdge, centre + canvas.textWidth(caption) / 2, caption);
      break;
    case AxisKind::Depth:
      break;
  }
}

void TChartAxis::DrawLabels(gfx::Canvas& canvas) const {
  if (geometry_.labels.empty()) return;
  canvas.setFont(labelsFont_);
  canvas.setFontColour(gfx::clBlack);
  canvas.setBrush({gfx::clWhite, gfx::BrushStyle::Clear});
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);
  const int h = canvas.textHeight();
  for (const AxisLabel& label : geometry_.labels) {
    const int p = label.pixel;
    switch (kind_) {
      case AxisKind::Bottom:
        canvas.textOut(p, geometry_.labelsEdge, label.text, gfx::TextAlign::Center);
        break;
      case AxisKind::Top:
        canvas.textOut(p, geometry_.labelsEdge - h, label.text, gfx::TextAlign::Center);
        break;
      case AxisKind::Left:
        canvas.textOut(geometry_.labelsEdge, p - h / 2, label.text, gfx::TextAlign::Right);
        break;
      case AxisKind::Right:
        canvas.textOut(geometry_.labelsEdge, p - h / 2, label.text, gfx::TextAlign::Left);
        break;
      case AxisKind::Depth:
        break;
    }
  }
}

// A tick across the axis line at pos, starting offset pixels from it,
// outwards (away from the plot) or inwards.
void TChartAxis::Tick(gfx::Canvas& canvas, int pos, int offset, int length, bool outwards) {
  const int line = geometry_.axisLinePos;
  const int dir = (kind_ == AxisKind::Bottom || kind_ == AxisKind::Right) == outwards ? 1 : -1;
  const int from = line + dir * offset, to = from + dir * length;
  if (Horizontal())
    canvas.line(pos, from, pos, to);
  else
    canvas.line(from, pos, to, pos);
}

void TChartAxis::GridLine(gfx::Canvas& canvas, const gfx::Rect& plot, int pos) {
  if (Horizontal())
    canvas.line(pos, plot.top, pos, plot.bottom);
  else
    canvas.line(plot.left, pos, plot.right, pos);
}

void TChartAxis::DrawLines(gfx::Canvas& canvas, const gfx::Rect& plot) {
  const int start = geometry_.map.StartPixel(), end = geometry_.map.EndPixel(), pos = geometry_.axisLinePos;
  const std::vector<int>& ticks = geometry_.ticks;
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);
  if (axisPen_->Visible()) {
    canvas.setPen(axisPen_->ToCanvasPen());
    if (Horizontal())
      canvas.line(start, pos, end, pos);
    else
      canvas.line(pos, start, pos, end);
  }
  if (ticks_->Visible() && tickLength_ > 0) {
    canvas.setPen(ticks_->ToCanvasPen());
    for (int t : ticks) Tick(canvas, t, 1, tickLength_, true);
  }
  if (grid_->Visible()) {
    // Dots only: the wall shows between them.
    canvas.setPen(grid_->ToCanvasPen(grid_->Color() == gfx::clAutomatic ? gfx::clGray : grid_->Color()));
    for (int t : ticks) GridLine(canvas, plot, t);
  }
  if (ticksInner_->Visible() && tickInnerLength_ > 0) {
    canvas.setPen(ticksInner_->ToCanvasPen());
    for (int t : ticks) Tick(canvas, t, 1, tickInnerLength_, false);
  }
  const std::vector<int>& minors = geometry_.minorTicks;
  if (minors.empty()) return;
  if (minorTicks_->Visible() && minorTickLength_ > 0) {
    canvas.setPen(minorTicks_->ToCanvasPen());
    for (int m : minors) Tick(canvas, m, 1, minorTickLength_, true);
  }
  if (minorGrid_->Visible()) {
    canvas.setPen(minorGrid_->ToCanvasPen());
    for (int m : minors) GridLine(canvas, plot, m);
  }
}

}  // namespace dorvane::chart
