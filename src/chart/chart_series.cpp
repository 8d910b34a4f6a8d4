#include "chart/chart_series.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/chart_axis_panel.h"

namespace dorvane::chart {

namespace {
// Points beyond this many pixels from the origin are not drawn.
constexpr int kMaxPixel = 32766;
bool Drawable(int p) {
  return p >= -kMaxPixel && p <= kMaxPixel;
}

// Colours of ColorEachPoint, one per index modulo 16.
constexpr gfx::Colour kPalette[16] = {gfx::clRed,    gfx::clGreen,  gfx::clYellow,  gfx::clBlue,
                                      gfx::clWhite,  gfx::clGray,   gfx::clFuchsia, gfx::clTeal,
                                      gfx::clNavy,   gfx::clMaroon, gfx::clLime,    gfx::clSilver,
                                      gfx::clPurple, gfx::clOlive,  gfx::clAqua,    gfx::clBlack};
}  // namespace

TChartSeries::TChartSeries(QObject* parent)
    : QObject(parent),
      xValues_(new TChartValueList(QStringLiteral("X "), loAscending, this)),
      yValues_(new TChartValueList(QStringLiteral("Y "), loNone, this)) {
  connect(xValues_, &TChartValueList::Changed, this, &TChartSeries::Repaint);
  connect(yValues_, &TChartValueList::Changed, this, &TChartSeries::Repaint);
}

TChartSeries::~TChartSeries() {
  if (chart_) chart_->RemoveSeries(this);
}

void TChartSeries::setParentChart(TCustomAxisPanel* chart) {
  if (chart == chart_) return;
  if (chart_) chart_->RemoveSeries(this);
  if (chart) chart->AddSeries(this);
}

void TChartSeries::Repaint() {
  if (chart_) chart_->RequestSeriesRepaint();
}

int TChartSeries::AddPoint(double x, double y, const QString& label, gfx::Colour colour) {
  if (onBeforeAdd_ && !onBeforeAdd_(this)) return -1;
  const int k = xValues_->InsertOrdered(x);
  yValues_->InsertAt(k, y);
  colours_.insert(colours_.begin() + k, colour);
  labels_.insert(labels_.begin() + k, label.isEmpty() ? QString() : label);
  emit OnAfterAdd(this, k);
  if (active_) Repaint();
  return k;
}

void TChartSeries::RemoveAllPoints() {
  // The lists keep their room: a replot refills them with as many points.
  xValues_->Clear();
  yValues_->Clear();
  colours_.clear();
  labels_.clear();
  emit OnClearValues(this);
  if (active_ && chart_ && !chart_->Destroying()) Repaint();
}

gfx::Colour TChartSeries::PointColor(int index) const {
  if (index < 0 || size_t(index) >= colours_.size()) return seriesColor_;
  const gfx::Colour stored = colours_[size_t(index)];
  if (stored != gfx::clAutomatic) return stored;
  return colorEachPoint_ ? kPalette[index % 16] : seriesColor_;
}

void TChartSeries::setActive(bool on) {
  if (SetField(active_, on)) Repaint();
}
void TChartSeries::setSeriesColor(gfx::Colour c) {
  if (SetField(seriesColor_, c)) Repaint();
}
void TChartSeries::setColorEachPoint(bool on) {
  if (SetField(colorEachPoint_, on)) Repaint();
}
void TChartSeries::setHorizAxis(THorizAxis a) {
  if (SetField(horizAxis_, a)) Repaint();
}
void TChartSeries::setVertAxis(TVertAxis a) {
  if (SetField(vertAxis_, a)) Repaint();
}
void TChartSeries::setShowInLegend(bool on) {
  if (SetField(showInLegend_, on)) Repaint();
}

bool TChartSeries::BoundTo(AxisKind axis) const {
  switch (axis) {
    case AxisKind::Bottom:
      return horizAxis_ == aBottomAxis || horizAxis_ == aBothHorizAxis;
    case AxisKind::Top:
      return horizAxis_ == aTopAxis || horizAxis_ == aBothHorizAxis;
    case AxisKind::Left:
      return vertAxis_ == aLeftAxis || vertAxis_ == aBothVertAxis;
    case AxisKind::Right:
      return vertAxis_ == aRightAxis || vertAxis_ == aBothVertAxis;
    case AxisKind::Depth:
      return false;
  }
  return false;
}

const TChartAxis* TChartSeries::GetHorizAxis() const {
  return horizAxis_ == aTopAxis ? chart_->TopAxis() : chart_->BottomAxis();
}
const TChartAxis* TChartSeries::GetVertAxis() const {
  return vertAxis_ == aRightAxis ? chart_->RightAxis() : chart_->LeftAxis();
}

void TChartSeries::CalcFirstLastVisibleIndex() {
  firstDrawn_ = lastDrawn_ = -1;
  const int n = Count();
  if (n == 0 || !chart_) return;
  if (xValues_->Order() == loNone) {
    firstDrawn_ = 0;
    lastDrawn_ = n - 1;
    return;
  }
  const AxisMap& map = GetHorizAxis()->Map();
  const gfx::Rect plot = chart_->PlotRect();
  const double leftValue = map.PixelToValue(map.Inverted() ? plot.right : plot.left);
  const double rightValue = map.PixelToValue(map.Inverted() ? plot.left : plot.right);
  const TChartValueList& xs = *xValues_;
  // The first index from `from` on whose x is at least v: a binary search
  // where the values read back are ascending, a walk otherwise.
  const bool sorted = xs.Order() == loAscending && xs.Multiplier() > 0;
  auto firstAtLeast = [&](int from, double v) {
    if (sorted) {
      const double stored = v / xs.Multiplier();
      const auto& raw = xs.Stored();
      return int(std::lower_bound(raw.begin() + from, raw.end(), stored) - raw.begin());
    }
    int i = from;
    while (i < n && !(xs.Value(i) >= v)) ++i;
    return i;
  };
  const int first = firstAtLeast(0, leftValue);
  if (first >= n) return;
  firstDrawn_ = first;
  if (xs.Value(n - 1) <= rightValue)
    lastDrawn_ = n - 1;
  else
    lastDrawn_ = std::min(n - 1, firstAtLeast(first, rightValue));
}

void TChartSeries::DrawAllValues(gfx::Canvas& canvas) {
  if (!chart_) return;
  emit BeforeDrawValues(this);
  BeginDraw();
  if (firstDrawn_ >= 0)
    for (int i = firstDrawn_; i <= lastDrawn_; ++i) DrawValue(canvas, i);
  emit AfterDrawValues(this);
}

// --- TCustomSeries ------------------------------------------------------------

TCustomSeries::TCustomSeries(QObject* parent) : TChartSeries(parent), linePen_(new TChartPen(this)) {
  connect(linePen_, &TChartPen::Changed, this, &TCustomSeries::Repaint);
}

void TCustomSeries::setStairs(bool on) {
  if (SetField(stairs_, on)) Repaint();
}
void TCustomSeries::setInvertedStairs(bool on) {
  if (SetField(invertedStairs_, on)) Repaint();
}
void TCustomSeries::setLineHeight(int h) {
  if (SetField(lineHeight_, h)) Repaint();
}
void TCustomSeries::setDark3D(bool on) {
  if (SetField(dark3D_, on)) Repaint();
}

void TCustomSeries::BeginDraw() {
  prev_.reset();
  prevColour_ = SeriesColor();
}

void TCustomSeries::Segment(gfx::Canvas& canvas, QPoint from, QPoint to, gfx::Colour colour) {
  if (from == to || colour == gfx::clNone) return;
  // The colour is the end point's; the pen's own colour is never used.
  canvas.setPen(linePen_->ToCanvasPen(colour));
  canvas.setBrush({gfx::clWhite, gfx::BrushStyle::Clear});
  canvas.line(from.x(), from.y(), to.x(), to.y());
}

void TCustomSeries::DrawValue(gfx::Canvas& canvas, int i) {
  const gfx::Colour c = PointColor(i);
  const AxisMap& hm = GetHorizAxis()->Map();
  const AxisMap& vm = GetVertAxis()->Map();
  const double x = XValues()->Value(i), y = YValues()->Value(i);
  // A point without a pixel position within the 16-bit range is skipped:
  // its drawn neighbours join.
  const std::optional<int> px = hm.PixelOf(x), py = vm.PixelOf(y);
  if (!px || !py || !Drawable(*px) || !Drawable(*py)) {
    prevColour_ = c;
    return;
  }
  const QPoint pos(*px, *py);
  if (prevColour_ == gfx::clNone) prev_ = pos;
  if (i == firstDrawn_) {
    if (i > 0) {
      // The segment that enters the plot through its left edge.
      const gfx::Rect plot = chart_->PlotRect();
      const int edge = hm.Inverted() ? plot.right : plot.left;
      const double edgeValue = hm.PixelToValue(edge);
      const double x0 = XValues()->Value(i - 1), y0 = YValues()->Value(i - 1);
      const double yAt = x == x0 ? y0 : y0 + (y - y0) * (edgeValue - x0) / (x - x0);
      // A crossing far outside the pixel range would be a line of millions
      // of pixels: such a segment is left out like its point.
      const std::optional<int> edgeY = vm.PixelOf(yAt);
      if (StoredColor(i - 1) != gfx::clNone && edgeY && Drawable(*edgeY))
        Segment(canvas, QPoint(edge, *edgeY), pos, c);
    }
  } else if (prev_) {
    Segment(canvas, *prev_, pos, c);
  }
  prev_ = pos;
  prevColour_ = c;
}

TLineSeries::TLineSeries(QObject* parent) : TCustomSeries(parent) {
  Pointer().Visible = false;
}

}  // namespace dorvane::chart
