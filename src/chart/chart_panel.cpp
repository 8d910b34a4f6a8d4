#include "chart/chart_panel.h"

#include <QBuffer>
#include <QEvent>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "chart/chart_export.h"
#include "gfx/fonts.h"
#include "platform/metafile.h"

namespace dorvane::chart {

namespace {
// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long n = static_cast<long long>(a) * b;
  const long long q = (std::llabs(n) + std::llabs(c) / 2) / std::llabs(c);
  return int((n < 0) != (c < 0) ? -q : q);
}
}  // namespace

class TCustomChartPanel::PassGuard {
 public:
  explicit PassGuard(TCustomChartPanel& panel) : panel_(panel), was_(panel.inPass_) { panel.inPass_ = true; }
  ~PassGuard() { panel_.inPass_ = was_; }
  PassGuard(const PassGuard&) = delete;
  PassGuard& operator=(const PassGuard&) = delete;

 private:
  TCustomChartPanel& panel_;
  bool was_;
};

TCustomChartPanel::TCustomChartPanel(QWidget* parent) : QWidget(parent) {
  // The off-screen image covers every pixel: nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
}

void TCustomChartPanel::setColor(gfx::Colour c) {
  if (SetField(color_, c)) RequestRepaint();
}
void TCustomChartPanel::setBevelOuter(TPanelBevel b) {
  if (SetField(bevelOuter_, b)) RequestRepaint();
}
void TCustomChartPanel::setBevelInner(TPanelBevel b) {
  if (SetField(bevelInner_, b)) RequestRepaint();
}
void TCustomChartPanel::setBevelWidth(int w) {
  if (SetField(bevelWidth_, std::clamp(w, 1, 1000))) RequestRepaint();
}
void TCustomChartPanel::setBorderWidth(int w) {
  if (SetField(borderWidth_, std::clamp(w, 0, 10000))) RequestRepaint();
}
void TCustomChartPanel::setMarginLeft(int m) {
  if (SetField(marginLeft_, std::clamp(m, -1000, 1000))) RequestRepaint();
}
void TCustomChartPanel::setMarginTop(int m) {
  if (SetField(marginTop_, std::clamp(m, -1000, 1000))) RequestRepaint();
}
void TCustomChartPanel::setMarginRight(int m) {
  if (SetField(marginRight_, std::clamp(m, -1000, 1000))) RequestRepaint();
}
void TCustomChartPanel::setMarginBottom(int m) {
  if (SetField(marginBottom_, std::clamp(m, -1000, 1000))) RequestRepaint();
}

void TCustomChartPanel::setBufferedDisplay(bool on) {
  if (!SetField(buffered_, on)) return;
  if (!on) image_ = background_ = QImage();
  RequestRepaint();
}

void TCustomChartPanel::RequestSeriesRepaint() {
  keepBackground_ = true;
  RequestRepaint();
  keepBackground_ = false;
}

void TCustomChartPanel::RequestRepaint() {
  stale_ = true;
  layoutStale_ = true;
  if (!keepBackground_) backgroundStale_ = true;
  // A replot asks some three hundred times; one pending paint serves all.
  if (paintPending_) return;
  paintPending_ = true;
  update();
}

gfx::Rect TCustomChartPanel::GetDrawRectangle() const {
  return {0, 0, width(), height()};
}

void TCustomChartPanel::resizeEvent(QResizeEvent* event) {
  layoutStale_ = true;
  QWidget::resizeEvent(event);
}

void TCustomChartPanel::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::ThemeChange:
      // A move to a screen of another density needs nothing here: the next
      // paint finds the image's device pixel ratio wrong and draws it anew.
      RequestRepaint();
      break;
    default:
      break;
  }
  QWidget::changeEvent(event);
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
    seriesDirty_ = image_.rect();
    seriesDamage_.whole = true;
    stale_ = true;
  }
  if (stale_) {
    stale_ = false;  // a repaint requested while drawing starts a new pass
    chartArea_ = GetDrawRectangle();
    DrawOverBackground();
  }
  painter.drawImage(QPoint(0, 0), image_);
}

void TCustomChartPanel::DrawOverBackground() {
  ++passes_;
  {
    QPainter painter(&image_);
    gfx::Canvas measure(painter);
    LayOut(measure, chartArea_);
  }
  BackgroundKey key;
  AddToBackgroundKey(key);
  if (backgroundStale_ || key != backgroundKey_ || background_.size() != image_.size() ||
      background_.devicePixelRatio() != image_.devicePixelRatio()) {
    backgroundStale_ = false;  // a request while drawing makes it stale again
    ++backgroundPasses_;
    // The background fills the whole area: the old buffer can be drawn over.
    if (background_.size() != image_.size() || background_.devicePixelRatio() != image_.devicePixelRatio()) {
      background_ = QImage(image_.size(), QImage::Format_RGB32);
      background_.setDevicePixelRatio(image_.devicePixelRatio());
    }
    // At a fractional scale the device size is rounded up: the column or
    // row past the last mapped pixel gets the panel's colour.
    background_.fill(gfx::ToQColor(color_));
    QPainter painter(&background_);
    gfx::Canvas canvas(painter);
    const PassGuard pass(*this);
    DrawBackground(canvas);
    backgroundKey_ = std::move(key);
    seriesDirty_ = image_.rect();
    seriesDamage_.whole = true;
  }
  // Only what the last series drew over goes back, into the same buffer:
  // no new image, no copy of the untouched pixels.
  const QRect whole = seriesDirty_ & image_.rect();
  if (!whole.isEmpty()) {
    uchar* to = image_.bits();  // detaches first if a copy is shared
    const uchar* from = background_.constBits();
    const qsizetype toLine = image_.bytesPerLine(), fromLine = background_.bytesPerLine();
    auto put = [&](const QRect& r) {
      const size_t bytes = size_t(r.width()) * 4;
      for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(to + y * toLine + r.left() * 4, from + y * fromLine + r.left() * 4, bytes);
    };
    if (seriesDamage_.whole) {
      put(whole);
    } else {
      for (const QRect& r : seriesDamage_.rects)
        if (const QRect c = r & whole; !c.isEmpty()) put(c);
    }
  }
  seriesDirty_ = image_.rect();
  if (const std::optional<gfx::Rect> clip = SeriesClip()) {
    // The clip in device pixels, with a pixel to spare for the rounding.
    const qreal dpr = image_.devicePixelRatio();
    seriesDirty_ = QRect(QPoint(int(std::floor(clip->left * dpr)) - 1, int(std::floor(clip->top * dpr)) - 1),
                         QPoint(int(std::ceil(clip->right * dpr)), int(std::ceil(clip->bottom * dpr)))) &
                   image_.rect();
  }
  seriesDamage_.rects.clear();
  seriesDamage_.whole = false;
  QPainter painter(&image_);
  gfx::Canvas canvas(painter);
  canvas.setDamage(&seriesDamage_);
  const PassGuard pass(*this);
  DrawSeries(canvas);
  ResetCanvas(canvas);
}

void TCustomChartPanel::DrawToCanvas(gfx::Canvas& canvas, const gfx::Rect& rect) {
  // Another target, another layout: the window's comes back as it was, so
  // the mouse and the tool tip keep reading the geometry on the screen.
  const ChartLayout own = layout_;
  const bool ownStale = layoutStale_;
  chartArea_ = rect;
  DrawChart(canvas);
  layout_ = own;
  layoutStale_ = ownStale;
  LayoutRestored();
}

QImage TCustomChartPanel::DrawToImage(QSize size, qreal devicePixelRatio) {
  const QSize deviceSize(int(std::ceil(size.width() * devicePixelRatio)),
                         int(std::ceil(size.height() * devicePixelRatio)));
  QImage image(deviceSize, QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(gfx::ToQColor(color_));  // as the window's image, see DrawOverBackground
  QPainter painter(&image);
  gfx::Canvas canvas(painter);
  DrawToCanvas(canvas, {0, 0, size.width(), size.height()});
  return image;
}

// --- layout -------------------------------------------------------------------

void TCustomChartPanel::EnsureLayout() const {
  if (!layoutStale_ || inPass_) return;
  // Text is measured on an image, as the window's off-screen image does.
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  gfx::Canvas measure(painter);
  auto& self = const_cast<TCustomChartPanel&>(*this);
  self.LayOut(measure, GetDrawRectangle());
}

void TCustomChartPanel::LayOut(gfx::Canvas& measure, const gfx::Rect& area) {
  const PassGuard pass(*this);
  chartArea_ = area;
  MarginsToPlotRect();
  LayOutTitles(measure);
  ReserveAxisSpace(measure);
  layoutStale_ = false;
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

void TCustomChartPanel::LayOutTitles(gfx::Canvas&) {}
void TCustomChartPanel::ReserveAxisSpace(gfx::Canvas&) {}

void TCustomChartPanel::AddToBackgroundKey(BackgroundKey& key) const {
  for (const gfx::Rect& r : {chartArea_, plotRect_})
    key.numbers.insert(key.numbers.end(), {double(r.left), double(r.top), double(r.right), double(r.bottom)});
}

// --- drawing --------------------------------------------------------------------

void TCustomChartPanel::DrawChart(gfx::Canvas& canvas) {
  ++passes_;
  LayOut(canvas, chartArea_);
  const PassGuard pass(*this);
  DrawBackground(canvas);
  DrawSeries(canvas);
  ResetCanvas(canvas);
}

void TCustomChartPanel::DrawBackground(gfx::Canvas& canvas) {
  PaintBackground(canvas, chartArea_);
  DrawTitles(canvas);
  DrawWalls(canvas);
  DrawAxes(canvas);
}

void TCustomChartPanel::FillBackground(gfx::Canvas& canvas, const gfx::Rect& rect) {
  canvas.fillRect(rect, color_);
}

void TCustomChartPanel::PaintBackground(gfx::Canvas& canvas, const gfx::Rect& rect) {
  FillBackground(canvas, rect);
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

// --- copies for the clipboard --------------------------------------------------

void TCustomChartPanel::DrawAfresh(gfx::Canvas& canvas, const gfx::Rect& rect) {
  // The off-screen image goes and is marked stale, so the next paint draws
  // afresh; no paint is asked for. The setting comes back on every path.
  struct ImageOff {
    TCustomChartPanel& chart;
    bool was;
    explicit ImageOff(TCustomChartPanel& c) : chart(c), was(c.buffered_) {
      chart.buffered_ = false;
      chart.image_ = QImage();
      chart.stale_ = true;
    }
    ~ImageOff() { chart.buffered_ = was; }
  } off(*this);
  DrawToCanvas(canvas, rect);
}

QImage TCustomChartPanel::ExportBitmap() {
  const gfx::Rect r = GetDrawRectangle();
  QImage image(std::max(1, r.width()), std::max(1, r.height()), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    gfx::Canvas canvas(painter);
    DrawAfresh(canvas, r);
  }
  return image;
}

QByteArray TCustomChartPanel::ExportSvg() {
  const gfx::Rect r = GetDrawRectangle();
  const QSize size = VectorCopySize({r.width(), r.height()});
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(96);  // text measured as on the screen
    QPainter painter(&generator);
    gfx::Canvas canvas(painter);
    DrawAfresh(canvas, r);
  }
  return SvgWithPixelSize(buffer.data(), size);
}

QByteArray TCustomChartPanel::ExportMetafile() {
  const gfx::Rect r = GetDrawRectangle();
  return platform::RecordMetafile(VectorCopySize({r.width(), r.height()}), [&](QPainter& painter) {
    gfx::Canvas canvas(painter);
    DrawAfresh(canvas, r);
  });
}

void TCustomChartPanel::CopyAsBitmap() {
  auto data = std::make_unique<QMimeData>();
  data->setImageData(ExportBitmap());
  if (!ChartClipboard().Replace(std::move(data))) throw EClipboardError();
}

void TCustomChartPanel::CopyAsMetafile(bool /*enhanced*/) {
  auto data = std::make_unique<QMimeData>();
  data->setData(QString::fromLatin1(kSvgMimeType), ExportSvg());
  if (const QByteArray metafile = ExportMetafile(); !metafile.isEmpty())
    data->setData(QString::fromLatin1(platform::kMetafileMimeType), metafile);
  if (!ChartClipboard().Replace(std::move(data))) throw EClipboardError();
}

}  // namespace dorvane::chart
