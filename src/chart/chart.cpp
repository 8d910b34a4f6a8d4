#include "chart/chart.h"

#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "chart/chart_fonts.h"
#include "chart/chart_zoom.h"

namespace dorvane::chart {

namespace {
// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long n = static_cast<long long>(a) * b;
  const long long q = (std::llabs(n) + std::llabs(c) / 2) / std::llabs(c);
  return int((n < 0) != (c < 0) ? -q : q);
}

QChar FirstChar(const QString& s, QChar fallback) {
  return s.isEmpty() ? fallback : s.front();
}
}  // namespace

// =============================================================================
// TCustomChartPanel

TCustomChartPanel::TCustomChartPanel(QWidget* parent) : QWidget(parent) {
  // The off-screen image covers every pixel: nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
}

void TCustomChartPanel::setColor(gfx::Colour c) {
  if (Assign(color_, c)) RequestRepaint();
}
void TCustomChartPanel::setBevelOuter(TPanelBevel b) {
  if (Assign(bevelOuter_, b)) RequestRepaint();
}
void TCustomChartPanel::setBevelInner(TPanelBevel b) {
  if (Assign(bevelInner_, b)) RequestRepaint();
}
void TCustomChartPanel::setBevelWidth(int w) {
  if (Assign(bevelWidth_, std::clamp(w, 1, 1000))) RequestRepaint();
}
void TCustomChartPanel::setBorderWidth(int w) {
  if (Assign(borderWidth_, std::clamp(w, 0, 10000))) RequestRepaint();
}
void TCustomChartPanel::setMarginLeft(int m) {
  if (Assign(marginLeft_, std::clamp(m, -1000, 1000))) RequestRepaint();
}
void TCustomChartPanel::setMarginTop(int m) {
  if (Assign(marginTop_, std::clamp(m, -1000, 1000))) RequestRepaint();
}
void TCustomChartPanel::setMarginRight(int m) {
  if (Assign(marginRight_, std::clamp(m, -1000, 1000))) RequestRepaint();
}
void TCustomChartPanel::setMarginBottom(int m) {
  if (Assign(marginBottom_, std::clamp(m, -1000, 1000))) RequestRepaint();
}

void TCustomChartPanel::setBufferedDisplay(bool on) {
  if (!Assign(buffered_, on)) return;
  if (!on) image_ = QImage();
  RequestRepaint();
}

void TCustomChartPanel::RequestRepaint() {
  stale_ = true;
  // A replot asks some three hundred times; one pending paint serves all.
  if (paintPending_) return;
  paintPending_ = true;
  update();
}

gfx::Rect TCustomChartPanel::GetDrawRectangle() const {
  return {0, 0, width(), height()};
}

void TCustomChartPanel::paintEvent(QPaintEvent*) {
  paintPending_ = false;
  QPainter painter(this);
  if (!buffered_) {
    gfx::Canvas canvas(painter);
    chartArea_ = GetDrawRectangle();
    DrawChart(canvas);
    return;
  }
  // The image has the window's device size and is drawn in layout pixels,
  // so the chart stays sharp on a high-density screen.
  const qreal dpr = devicePixelRatioF();
  const QSize deviceSize(int(std::ceil(width() * dpr)), int(std::ceil(height() * dpr)));
  if (deviceSize.isEmpty()) return;
  if (image_.size() != deviceSize || image_.devicePixelRatio() != dpr) {
    image_ = QImage(deviceSize, QImage::Format_RGB32);
    image_.setDevicePixelRatio(dpr);
    stale_ = true;
  }
  if (stale_) {
    stale_ = false;  // a repaint requested while drawing starts a new pass
    QPainter imagePainter(&image_);
    gfx::Canvas canvas(imagePainter);
    chartArea_ = GetDrawRectangle();
    DrawChart(canvas);
  }
  painter.drawImage(QPoint(0, 0), image_);
}

void TCustomChartPanel::DrawToCanvas(gfx::Canvas& canvas, const gfx::Rect& rect) {
  chartArea_ = rect;
  DrawChart(canvas);
}

QImage TCustomChartPanel::DrawToImage(QSize size, qreal devicePixelRatio) {
  const QSize deviceSize(int(std::ceil(size.width() * devicePixelRatio)),
                         int(std::ceil(size.height() * devicePixelRatio)));
  QImage image(deviceSize, QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::white);
  QPainter painter(&image);
  gfx::Canvas canvas(painter);
  DrawToCanvas(canvas, {0, 0, size.width(), size.height()});
  return image;
}

void TCustomChartPanel::MarginsToPlotRect() {
  const gfx::Rect a = chartArea_;
  const int w = a.width(), h = a.height(), b = borderWidth_;
  gfx::Rect p{a.left + b + MulDiv(marginLeft_, w, 100), a.top + b + MulDiv(marginTop_, h, 100),
              a.right - b - MulDiv(marginRight_, w, 100), a.bottom - b - MulDiv(marginBottom_, h, 100)};
  p.left = std::max(p.left, a.left);
  p.top = std::max(p.top, a.top);
  if (p.right < p.left)
    p.right = p.left + 1;
  else if (p.right == p.left)
    p.right = p.left + width();
  if (p.bottom < p.top)
    p.bottom = p.top + 1;
  else if (p.bottom == p.top)
    p.bottom = p.top + height();
  plotRect_ = p;
}

void TCustomChartPanel::DrawChart(gfx::Canvas& canvas) {
  ++passes_;
  MarginsToPlotRect();
  PaintBackground(canvas, chartArea_);
  DrawTitles(canvas);
  ReserveAxisSpace(canvas);
  ApplySeriesMargins();
  DrawWalls(canvas);
  DrawAxes(canvas);
  DrawSeries(canvas);
  ResetCanvas(canvas);
}

void TCustomChartPanel::SetCanvasFont(gfx::Canvas& canvas, const QFont& font) {
  canvas.setFont(font);
}

void TCustomChartPanel::FillBackground(gfx::Canvas& canvas, const gfx::Rect& rect) {
  canvas.fillRect(rect, color_);
}

void TCustomChartPanel::DrawBackImage(gfx::Canvas&, const gfx::Rect&) {}

void TCustomChartPanel::PaintBackground(gfx::Canvas& canvas, const gfx::Rect& rect) {
  FillBackground(canvas, rect);
  DrawBackImage(canvas, rect);
  DrawBevels(canvas, rect);
}

void TCustomChartPanel::DrawBevels(gfx::Canvas& canvas, const gfx::Rect& rect) {
  gfx::Rect r = rect;
  // Light on the top and left of a raised cut, dark on the others.
  auto bevel = [&](TPanelBevel cut) {
    if (cut == bvNone) return;
    const gfx::Colour light = cut == bvRaised ? gfx::clBtnHighlight : gfx::clBtnShadow;
    const gfx::Colour dark = cut == bvRaised ? gfx::clBtnShadow : gfx::clBtnHighlight;
    for (int i = 0; i < bevelWidth_ && !r.isEmpty(); ++i) {
      if (cut != bvSpace) {
        canvas.fillRect({r.left, r.top, r.right, r.top + 1}, light);
        canvas.fillRect({r.left, r.top, r.left + 1, r.bottom}, light);
        canvas.fillRect({r.left, r.bottom - 1, r.right, r.bottom}, dark);
        canvas.fillRect({r.right - 1, r.top, r.right, r.bottom}, dark);
      }
      r = r.inflated(-1, -1);
    }
  };
  bevel(bevelOuter_);
  r = r.inflated(-borderWidth_, -borderWidth_);
  bevel(bevelInner_);
}

void TCustomChartPanel::DrawTitles(gfx::Canvas&) {}
void TCustomChartPanel::ReserveAxisSpace(gfx::Canvas&) {}
void TCustomChartPanel::DrawWalls(gfx::Canvas&) {}
void TCustomChartPanel::DrawAxes(gfx::Canvas&) {}
void TCustomChartPanel::DrawSeries(gfx::Canvas&) {}

void TCustomChartPanel::ResetCanvas(gfx::Canvas& canvas) {
  canvas.setPen({gfx::clBlack, 1, gfx::PenStyle::Solid, gfx::PenMode::Copy});
  canvas.setBrush({gfx::clWhite, gfx::BrushStyle::Solid});
  canvas.setFont(gfx::PixelFont(QStringLiteral("Arial"), gfx::PointsToPixels(10)));
  canvas.setFontColour(gfx::clBlack);
  canvas.setTextBackground(gfx::clWhite);
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);
}

// =============================================================================
// TCustomChartPanelExtended

void TChartGradient::setVisible(bool v) {
  if (Assign(visible_, v)) emit Changed();
}
void TChartGradient::setStartColor(gfx::Colour c) {
  if (Assign(start_, c)) emit Changed();
}
void TChartGradient::setEndColor(gfx::Colour c) {
  if (Assign(end_, c)) emit Changed();
}

TCustomChartPanelExtended::TCustomChartPanelExtended(QWidget* parent)
    : TCustomChartPanel(parent), gradient_(new TChartGradient(this)) {
  connect(gradient_, &TChartGradient::Changed, this, &TCustomChartPanelExtended::RequestRepaint);
}

void TCustomChartPanelExtended::setAllowZoom(bool on) {
  allowZoom_ = on;
}
void TCustomChartPanelExtended::setAllowPanning(TPanningMode m) {
  allowPanning_ = m;
}

void TCustomChartPanelExtended::FillBackground(gfx::Canvas& canvas, const gfx::Rect& rect) {
  if (!gradient_->Visible()) {
    TCustomChartPanel::FillBackground(canvas, rect);
    return;
  }
  QLinearGradient g(0, rect.top, 0, rect.bottom);
  g.setColorAt(0, gfx::ToQColor(gradient_->StartColor()));
  g.setColorAt(1, gfx::ToQColor(gradient_->EndColor()));
  canvas.painter().fillRect(rect.toQRect(), g);
}

// =============================================================================
// TCustomAxisPanel

TCustomAxisPanel::TCustomAxisPanel(QWidget* parent)
    : TCustomChartPanelExtended(parent),
      axes_{new TChartAxis(AxisKind::Bottom, this), new TChartAxis(AxisKind::Top, this),
            new TChartAxis(AxisKind::Left, this), new TChartAxis(AxisKind::Right, this),
            new TChartAxis(AxisKind::Depth, this)} {
  for (TChartAxis* axis : axes_) connect(axis, &TChartAxis::Changed, this, &TCustomAxisPanel::RequestRepaint);
  const QLocale locale = QLocale::system();
  decimalSeparator_ = FirstChar(locale.decimalPoint(), u'.');
  thousandSeparator_ = FirstChar(locale.groupSeparator(), u' ');
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
  RequestRepaint();
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
  if (Assign(axisVisible_, on)) RequestRepaint();
}
void TCustomAxisPanel::setClipPoints(bool on) {
  if (Assign(clipPoints_, on)) RequestRepaint();
}
void TCustomAxisPanel::setView3D(bool on) {
  if (Assign(view3D_, on)) RequestRepaint();
}
void TCustomAxisPanel::setChart3DPercent(int p) {
  if (Assign(chart3DPercent_, std::clamp(p, 1, 100))) RequestRepaint();
}
void TCustomAxisPanel::setDecimalSeparator(QChar c) {
  if (Assign(decimalSeparator_, c)) RequestRepaint();
}
void TCustomAxisPanel::setThousandSeparator(QChar c) {
  if (Assign(thousandSeparator_, c)) RequestRepaint();
}

void TCustomAxisPanel::ReserveAxisSpace(gfx::Canvas& canvas) {
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
  for (TChartAxis* axis : axes_) axis->ReserveSpace(canvas, plotRect_);
  for (TChartAxis* axis : axes_) axis->SetSpan(plotRect_);
}

void TCustomAxisPanel::DrawAxes(gfx::Canvas& canvas) {
  for (TChartAxis* axis : axes_) axis->Draw(canvas, plotRect_);
}

void TCustomAxisPanel::DrawSeries(gfx::Canvas& canvas) {
  const gfx::Rect p = plotRect_;
  for (TChartSeries* s : series_) {
    if (!s->Active()) continue;
    s->CalcFirstLastVisibleIndex();
    canvas.save();
    // The plot's left column and top and bottom rows stay clear of curves.
    if (clipPoints_) canvas.intersectClipRect({p.left + 1, p.top + 1, p.right, p.bottom - 1});
    s->DrawAllValues(canvas);
    canvas.restore();
  }
}

// =============================================================================
// TCustomChart

TChartTitle::TChartTitle(QObject* parent)
    : QObject(parent),
      text_([this] { emit Changed(); }),
      font_(DefaultChartFont()),
      frame_(new TChartHiddenPen(this)),
      brush_(new TChartBrush(this)) {
  connect(frame_, &TChartPen::Changed, this, &TChartTitle::Changed);
  connect(brush_, &TChartBrush::Changed, this, &TChartTitle::Changed);
}

void TChartTitle::setFont(const QFont& f) {
  if (Assign(font_, f)) emit Changed();
}
void TChartTitle::setFontColor(gfx::Colour c) {
  if (Assign(fontColor_, c)) emit Changed();
}
void TChartTitle::setAlignment(TAlignment a) {
  if (Assign(alignment_, a)) emit Changed();
}
void TChartTitle::setVisible(bool v) {
  if (Assign(visible_, v)) emit Changed();
}
void TChartTitle::setAdjustFrame(bool on) {
  if (Assign(adjustFrame_, on)) emit Changed();
}
void TChartTitle::setColor(gfx::Colour c) {
  if (Assign(color_, c)) emit Changed();
}

TChartWall::TChartWall(gfx::Colour colour, QObject* parent)
    : QObject(parent), color_(colour), brush_(new TChartBrush(this)), pen_(new TChartPen(this)) {
  connect(brush_, &TChartBrush::Changed, this, &TChartWall::Changed);
  connect(pen_, &TChartPen::Changed, this, &TChartWall::Changed);
}

void TChartWall::setColor(gfx::Colour c) {
  if (Assign(color_, c)) emit Changed();
}
void TChartWall::setDark3D(bool on) {
  if (Assign(dark3D_, on)) emit Changed();
}
void TChartWall::setSize(int s) {
  if (Assign(size_, s)) emit Changed();
}

TCustomChart::TCustomChart(QWidget* parent)
    : TCustomAxisPanel(parent),
      title_(new TChartTitle(this)),
      foot_(new TChartTitle(this)),
      backWall_(new TChartWall(gfx::clAutomatic, this)),
      leftWall_(new TChartWall(0x80FFFF, this)),
      bottomWall_(new TChartWall(gfx::clWhite, this)),
      legend_(new TChartLegend(this)),
      mouse_(new TChartMouse(this)) {
  foot_->setFontColor(gfx::clRed);
  backWall_->Brush()->setStyle(bsClear);
  for (TChartTitle* t : {title_, foot_})
    connect(t, &TChartTitle::Changed, this, &TCustomChart::RequestRepaint);
  for (TChartWall* w : {backWall_, leftWall_, bottomWall_})
    connect(w, &TChartWall::Changed, this, &TCustomChart::RequestRepaint);
  connect(legend_, &TChartLegend::Changed, this, &TCustomChart::RequestRepaint);
}

void TCustomChart::setBackColor(gfx::Colour c) {
  backWall_->setColor(c);
  backWall_->Brush()->setStyle(bsSolid);
}

void TCustomChart::DrawTitles(gfx::Canvas& canvas) {
  if (title_->Visible()) DrawTitle(canvas, *title_, true);
  if (foot_->Visible()) DrawTitle(canvas, *foot_, false);
}

void TCustomChart::DrawTitle(gfx::Canvas& canvas, const TChartTitle& title, bool top) {
  const QStringList& lines = title.TextLines();
  const int n = int(lines.size());
  if (n == 0) return;
  canvas.setFont(title.Font());
  const int h = canvas.textHeight(), wW = canvas.textWidth(QStringLiteral("W"));
  const int frame = title.Frame()->Visible() ? title.Frame()->Width() : 0;
  const int left = plotRect_.left + frame, right = plotRect_.right - frame;
  const int y0 = top ? plotRect_.top : plotRect_.bottom - n * h;
  auto xOf = [&](int width) {
    switch (title.Alignment()) {
      case taLeftJustify:
        return left + wW / 2;
      case taRightJustify:
        return right - width - wW / 2;
      case taCenter:
        break;
    }
    return (left + right) / 2 - width / 2;
  };
  const bool filled = title.Color() != gfx::clAutomatic;
  if (title.Frame()->Visible() || filled) {
    gfx::Rect box{left, y0, right, y0 + n * h};
    if (title.AdjustFrame()) {
      int widest = 0;
      for (const QString& line : lines) widest = std::max(widest, canvas.textWidth(line));
      box.left = xOf(widest) - wW / 2;
      box.right = box.left + widest + wW;
    }
    canvas.setPen(title.Frame()->ToCanvasPen());
    canvas.setBrush(
        {filled ? title.Color() : gfx::clWhite, filled ? gfx::BrushStyle::Solid : gfx::BrushStyle::Clear});
    canvas.rectangle(box);
  }
  canvas.setFontColour(title.FontColor());
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);
  for (int k = 0; k < n; ++k) canvas.textOut(xOf(canvas.textWidth(lines[k])), y0 + k * h, lines[k]);
  if (top)
    plotRect_.top += n * h + 5;
  else
    plotRect_.bottom -= n * h + 5;
}

void TCustomChart::DrawWalls(gfx::Canvas& canvas) {
  // Flat chart: the back wall only.
  const TChartWall& wall = *backWall_;
  canvas.setPen(wall.Pen()->ToCanvasPen());
  const TChartBrush& brush = *wall.Brush();
  if ((wall.Color() == gfx::clAutomatic && brush.Style() == bsSolid) || brush.Style() == bsClear)
    canvas.setBrush({gfx::clWhite, gfx::BrushStyle::Clear});
  else
    canvas.setBrush({wall.Color(), gfx::BrushStyle::Solid});
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);
  canvas.rectangle({plotRect_.left, plotRect_.top, plotRect_.right + 1, plotRect_.bottom + 1});
}

}  // namespace dorvane::chart
