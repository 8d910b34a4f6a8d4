#include "chart/chart_export.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRegularExpression>

#include "platform/metafile.h"

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
    platform::OfferMetafileToClipboard();
    clipboard->setMimeData(data.release(), QClipboard::Clipboard);  // the clipboard owns it now
    return true;
  }
};

SystemClipboard systemClipboard;
ClipboardPort* currentPort = &systemClipboard;

}  // namespace

ClipboardPort& ChartClipboard() {
  return *currentPort;
}
void SetChartClipboard(ClipboardPort* port) {
  currentPort = port ? port : &systemClipboard;
}

QByteArray SvgWithPixelSize(QByteArray svg, QSize size) {
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

}  // namespace dorvane::chart
