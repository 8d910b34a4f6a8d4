#include "chart/chart_export.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <algorithm>

#include "chart/chart.h"

namespace dorvane::chart {

EClipboardError::EClipboardError() : std::runtime_error("Ne peut ouvrir le Presse-papiers") {}

namespace {

class SystemClipboard final : public ClipboardPort {
 public:
  bool Replace(std::unique_ptr<QMimeData> data) override {
    // Without a GUI application there is no clipboard to open.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setMimeData(data.release(), QClipboard::Clipboard);  // the clipboard owns it now
    return true;
  }
};

SystemClipboard systemClipboard;
ClipboardPort* currentPort = &systemClipboard;

// QSvgGenerator states the size in millimetres; the copy is measured in
// pixels, like its view box.
QByteArray WithPixelSize(QByteArray svg, QSize size) {
  static const QRegularExpression kSize(QStringLiteral(R"(<svg width="[^"]*" height="[^"]*")"));
  const QString head = QString::fromUtf8(svg.left(512));
  const QRegularExpressionMatch m = kSize.match(head);
  if (!m.hasMatch()) return svg;
  const QByteArray sized =
      QStringLiteral(R"(<svg width="%1" height="%2")").arg(size.width()).arg(size.height()).toUtf8();
  // The head is plain ASCII up to here, so characters and bytes agree.
  svg.replace(m.capturedStart(), m.capturedLength(), sized);
  return svg;
}

}  // namespace

ClipboardPort& ChartClipboard() {
  return *currentPort;
}
void SetChartClipboard(ClipboardPort* port) {
  currentPort = port ? port : &systemClipboard;
}

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
  return WithPixelSize(buffer.data(), size);
}

void TCustomChartPanel::CopyAsBitmap() {
  auto data = std::make_unique<QMimeData>();
  data->setImageData(ExportBitmap());
  if (!ChartClipboard().Replace(std::move(data))) throw EClipboardError();
}

void TCustomChartPanel::CopyAsMetafile(bool /*enhanced*/) {
  auto data = std::make_unique<QMimeData>();
  data->setData(QString::fromLatin1(kSvgMimeType), ExportSvg());
  if (!ChartClipboard().Replace(std::move(data))) throw EClipboardError();
}

}  // namespace dorvane::chart
