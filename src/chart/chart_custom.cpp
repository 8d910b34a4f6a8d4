#include "chart/chart_custom.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "chart/chart_zoom.h"

namespace dorvane::chart {

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
  for (TChartTitle* t : {title_, foot_}) {
    connect(t, &TChartTitle::Changed, this, &TCustomChart::RequestRepaint);
    // Every replot writes the title again, mostly the same: its lines are
    // part of the background's key instead.
    connect(t, &TChartTitle::TextChanged, this, &TCustomChart::RequestSeriesRepaint);
  }
  for (TChartWall* w : {backWall_, leftWall_, bottomWall_})
    connect(w, &TChartWall::Changed, this, &TCustomChart::RequestRepaint);
  connect(legend_, &TChartLegend::Changed, this, &TCustomChart::RequestRepaint);
}

void TCustomChart::setBackColor(gfx::Colour c) {
  backWall_->setColor(c);
  backWall_->Brush()->setStyle(bsSolid);
}

void TCustomChart::LayOutTitles(gfx::Canvas& measure) {
  titlePlace_ = title_->Visible() ? LayOutTitle(measure, *title_, true) : TitlePlace{};
  footPlace_ = foot_->Visible() ? LayOutTitle(measure, *foot_, false) : TitlePlace{};
}

// A title spans the plot rectangle as it stands and takes its lines' height
// and 5 pixels off it; a title without lines takes nothing.
TitlePlace TCustomChart::LayOutTitle(gfx::Canvas& measure, const TChartTitle& title, bool top) {
  const int n = int(title.TextLines().size());
  if (n == 0) return {};
  measure.setFont(title.Font());
  const int h = measure.textHeight();
  const int frame = title.Frame()->Visible() ? title.Frame()->Width() : 0;
  const TitlePlace place{true, plotRect_.left + frame, plotRect_.right - frame,
                         top ? plotRect_.top : plotRect_.bottom - n * h};
  if (top)
    plotRect_.top += n * h + 5;
  else
    plotRect_.bottom -= n * h + 5;
  return place;
}

void TCustomChart::AddToBackgroundKey(BackgroundKey& key) const {
  TCustomAxisPanel::AddToBackgroundKey(key);
  for (const TChartTitle* t : {title_, foot_}) {
    key.texts += t->TextLines();
    key.numbers.push_back(t->TextLines().size());
  }
}

void TCustomChart::DrawTitles(gfx::Canvas& canvas) {
  if (titlePlace_.shown) DrawTitle(canvas, *title_, titlePlace_);
  if (footPlace_.shown) DrawTitle(canvas, *foot_, footPlace_);
}

void TCustomChart::DrawTitle(gfx::Canvas& canvas, const TChartTitle& title, const TitlePlace& place) {
  const QStringList& lines = title.TextLines();
  const int n = int(lines.size());
  canvas.setFont(title.Font());
  const int h = canvas.textHeight(), wW = canvas.textWidth(QStringLiteral("W"));
  const int left = place.left, right = place.right, y0 = place.top;
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

// --- zoom and scroll by mouse ------------------------------------------------

TChartMouse& TCustomChart::Mouse() {
  return *mouse_;
}
bool TCustomChart::Zoomed() const {
  return mouse_->Zoomed();
}

void TCustomChart::ZoomRect(const QRect& rect) {
  mouse_->ZoomTo(rect.topLeft(), {rect.x() + rect.width(), rect.y() + rect.height()});
  RequestRepaint();
}

void TCustomChart::UndoZoom() {
  mouse_->UndoZoom();
}

void TCustomChart::paintEvent(QPaintEvent* event) {
  TCustomAxisPanel::paintEvent(event);
  if (!mouse_->ZoomDrag().active) return;
  QPainter painter(this);
  mouse_->PaintRubberBand(painter);
}

void TCustomChart::mousePressEvent(QMouseEvent* event) {
  mouse_->Press(event->button(), event->modifiers(), event->position().toPoint());
  event->accept();
}

void TCustomChart::mouseMoveEvent(QMouseEvent* event) {
  mouse_->Move(event->position().toPoint());
  event->accept();
}

void TCustomChart::mouseReleaseEvent(QMouseEvent* event) {
  mouse_->Release(event->button(), event->position().toPoint());
  event->accept();
}

void TCustomChart::leaveEvent(QEvent* event) {
  mouse_->Leave();
  TCustomAxisPanel::leaveEvent(event);
}

void TCustomChart::wheelEvent(QWheelEvent* event) {
  mouse_->Wheel(event->angleDelta().y());
  event->accept();
}

}  // namespace dorvane::chart
