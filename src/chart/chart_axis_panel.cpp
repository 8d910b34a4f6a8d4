#include "chart/chart_axis_panel.h"

#include "chart/chart_fonts.h"

#include <QImage>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace dorvane::chart {

namespace {
QChar FirstChar(const QString& s, QChar fallback) {
  return s.isEmpty() ? fallback : s.front();
}
}  // namespace

TCustomAxisPanel::TCustomAxisPanel(QWidget* parent)
    : TCustomChartPanelExtended(parent),
      axes_{new TChartAxis(AxisKind::Bottom, this), new TChartAxis(AxisKind::Top, this),
            new TChartAxis(AxisKind::Left, this), new TChartAxis(AxisKind::Right, this),
            new TChartAxis(AxisKind::Depth, this)} {
  for (TChartAxis* axis : axes_) connect(axis, &TChartAxis::Changed, this, &TCustomAxisPanel::RequestRepaint);
  // The decimal separator is the owner's to give (the program reads the
  // user's numeric locale in one place); a point until then.
  decimalSeparator_ = u'.';
  thousandSeparator_ = FirstChar(QLocale::system().groupSeparator(), u' ');
}

TCustomAxisPanel::~TCustomAxisPanel() {
  // The series go with the chart's children; they must not call back into
  // a chart that is half gone.
  setDestroying();
  for (TChartSeries* s : series_) s->chart_ = nullptr;
  series_.clear();
}

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
  if (!series || series_.contains(series)) return;
  if (series->chart_) series->chart_->RemoveSeries(series);
  series->setParent(this);
  series->chart_ = this;
  series_.append(series);
  RequestRepaint();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
  if (!series || !series_.removeOne(series)) return;
  series->chart_ = nullptr;
  if (seriesOnTop_ == series) seriesOnTop_ = nullptr;
  RequestRepaint();
}

void TCustomAxisPanel::setSeriesOnTop(TChartSeries* series) {
  if (series && !series_.contains(series)) series = nullptr;
  if (seriesOnTop_ == series) return;
  seriesOnTop_ = series;
  RequestSeriesRepaint();
}

bool TCustomAxisPanel::IsAxisShown(const TChartAxis* axis) const {
  if (!axisVisible_ || !axis->Visible() || axis->Kind() == AxisKind::Depth) return false;
  bool anyActive = false;
  for (const TChartSeries* s : series_) {
    if (!s->Active()) continue;
    anyActive = true;
    if (s->BoundTo(axis->Kind())) return true;
  }
  return !anyActive;
}

void TCustomAxisPanel::setAxisVisible(bool on) {
  if (SetField(axisVisible_, on)) RequestRepaint();
}
void TCustomAxisPanel::setClipPoints(bool on) {
  if (SetField(clipPoints_, on)) RequestRepaint();
}
void TCustomAxisPanel::setView3D(bool on) {
  if (SetField(view3D_, on)) RequestRepaint();
}
void TCustomAxisPanel::setChart3DPercent(int p) {
  if (SetField(chart3DPercent_, std::clamp(p, 1, 100))) RequestRepaint();
}
void TCustomAxisPanel::setDecimalSeparator(QChar c) {
  if (SetField(decimalSeparator_, c)) RequestRepaint();
}
void TCustomAxisPanel::setThousandSeparator(QChar c) {
  if (SetField(thousandSeparator_, c)) RequestRepaint();
}

void TCustomAxisPanel::ReserveAxisSpace(gfx::Canvas& measure) {
  for (TChartAxis* axis : axes_) {
    bool bound = false, haveValues = false;
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (const TChartSeries* s : series_) {
      if (!s->Active() || !s->BoundTo(axis->Kind())) continue;
      bound = true;
      const TChartValueList* values = axis->Horizontal() ? s->XValues() : s->YValues();
      if (values->Count() == 0) continue;
      haveValues = true;
      lo = std::min(lo, values->MinValue());
      hi = std::max(hi, values->MaxValue());
    }
    axis->BeginPass(IsAxisShown(axis), bound, haveValues, lo, hi);
  }
  for (TChartAxis* axis : axes_) axis->ReserveSpace(measure, plotRect_);
  for (TChartAxis* axis : axes_) axis->SetSpan(plotRect_);
  for (TChartAxis* axis : axes_) axis->LayOutTicks(measure, plotRect_);
}

// The series decide which axes show, with which labels, over which range.
void TCustomAxisPanel::AddToBackgroundKey(BackgroundKey& key) const {
  TCustomChartPanelExtended::AddToBackgroundKey(key);
  for (const TChartAxis* axis : axes_) {
    const AxisGeometry& g = axis->Geometry();
    key.numbers.insert(key.numbers.end(), {double(g.shown), double(g.labelStyle), g.map.Min(), g.map.Max(),
                                           double(g.map.StartPixel()), double(g.map.EndPixel())});
  }
}

void TCustomAxisPanel::DrawAxes(gfx::Canvas& canvas) {
  for (TChartAxis* axis : axes_) axis->Draw(canvas, plotRect_);
}

std::optional<gfx::Rect> TCustomAxisPanel::SeriesClip() const {
  // The plot's left column and top and bottom rows stay clear of curves.
  const gfx::Rect p = plotRect_;
  if (!clipPoints_) return std::nullopt;
  return gfx::Rect{p.left + 1, p.top + 1, p.right, p.bottom - 1};
}

// The series' drawn ranges follow the window's layout again, for the mouse.
void TCustomAxisPanel::LayoutRestored() {
  for (TChartSeries* s : series_)
    if (s->Active()) s->CalcFirstLastVisibleIndex();
}

void TCustomAxisPanel::setPlotNotes(const std::vector<PlotNote>& notes, gfx::Colour background) {
  if (notes == plotNotes_ && background == plotNotesBackground_) return;
  plotNotes_ = notes;
  plotNotesBackground_ = background;
  RequestSeriesRepaint();
}

void TCustomAxisPanel::DrawActiveSeries(gfx::Canvas& canvas, const std::optional<gfx::Rect>& clip) {
  const auto draw = [&](TChartSeries* s) {
    canvas.save();
    if (clip) canvas.intersectClipRect(*clip);
    s->DrawAllValues(canvas);
    canvas.restore();
  };
  for (TChartSeries* s : series_)
    if (s->Active() && s != seriesOnTop_) draw(s);
  if (seriesOnTop_ && seriesOnTop_->Active()) draw(seriesOnTop_);
}

void TCustomAxisPanel::DrawSeries(gfx::Canvas& canvas) {
  for (TChartSeries* s : series_)
    if (s->Active()) s->CalcFirstLastVisibleIndex();
  DrawActiveSeries(canvas, SeriesClip());
  DrawPlotNotes(canvas);
}

namespace {

// The pixels of `image` other than `background` inside a rectangle of
// logical pixels.
int PixelsOtherThan(const QImage& image, QRgb background, const gfx::Rect& r) {
  const qreal s = image.devicePixelRatio();
  const auto device = [s](int c) { return int(std::floor(c * s + 0.5)); };
  const QRect d =
      QRect(QPoint(device(r.left), device(r.top)), QPoint(device(r.right) - 1, device(r.bottom) - 1)) &
      image.rect();
  int n = 0;
  for (int y = d.top(); y <= d.bottom(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = d.left(); x <= d.right(); ++x) n += (line[x] | 0xFF000000u) != background;
  }
  return n;
}

}  // namespace

void TCustomAxisPanel::DrawPlotNotes(gfx::Canvas& canvas) {
  plotNotesRect_ = {};
  if (plotNotes_.empty()) return;
  // Within the series' own area, which every replot puts back first.
  const gfx::Rect p = plotRect_;
  const gfx::Rect area = SeriesClip().value_or(gfx::Rect{p.left + 1, p.top + 1, p.right, p.bottom - 1});
  canvas.save();
  canvas.intersectClipRect(area);
  canvas.setFont(DefaultChartFont());
  const int lineHeight = gfx::LineHeight(DefaultChartFont(), canvas.device());
  int width = 0;
  for (const PlotNote& note : plotNotes_) width = std::max(width, canvas.textWidth(note.text));
  const int height = lineHeight * int(plotNotes_.size());
  // The corners, top left first: it wins every tie.
  const int left = p.left + 5, right = p.right - 5 - width, top = p.top + 4, bottom = p.bottom - 4 - height;
  const std::array<gfx::Rect, 4> corners = {gfx::Rect{left, top, left + width, top + height},
                                            gfx::Rect{right, top, right + width, top + height},
                                            gfx::Rect{left, bottom, left + width, bottom + height},
                                            gfx::Rect{right, bottom, right + width, bottom + height}};
  // The curves alone, at the target's density, tell what each corner covers.
  const QPaintDevice* device = canvas.device();
  const qreal density = device && !canvas.vector() ? device->devicePixelRatioF() : 1;
  const gfx::Rect whole = chartArea_;
  QImage curves(int(std::ceil(whole.right * density)), int(std::ceil(whole.bottom * density)),
                QImage::Format_RGB32);
  const QRgb background = gfx::ToQColor(plotNotesBackground_).rgb() | 0xFF000000u;
  gfx::Rect box = corners[0];
  int covered = 0;
  if (!curves.isNull()) {
    curves.setDevicePixelRatio(density);
    curves.fill(background);
    {
      QPainter painter(&curves);
      gfx::Canvas scratch(painter);
      DrawActiveSeries(scratch, area);
    }
    covered = std::numeric_limits<int>::max();
    for (const gfx::Rect& corner : corners)
      if (const int n = PixelsOtherThan(curves, background, corner); n < covered) covered = n, box = corner;
  }
  plotNotesRect_ = box;
  canvas.fillRect(box, plotNotesBackground_);
  // No corner is free: the curves show through, under the text.
  if (covered > 0) {
    canvas.save();
    canvas.intersectClipRect(box);
    DrawActiveSeries(canvas, area);
    canvas.restore();
  }
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);
  int y = box.top;
  for (const PlotNote& note : plotNotes_) {
    canvas.setFontColour(note.colour);
    canvas.textOut(box.left, y, note.text);
    y += lineHeight;
  }
  canvas.restore();
}

}  // namespace dorvane::chart
