#pragma once
// The one door through which the chart's copies reach the clipboard. The
// copy operations themselves are members of the chart panel (CopyAsBitmap,
// CopyAsMetafile).
#include <QByteArray>
#include <QSize>
#include <memory>
#include <stdexcept>

class QMimeData;

namespace dorvane::chart {

// The clipboard refused the copy. The message is the one the user reads.
class EClipboardError : public std::runtime_error {
 public:
  EClipboardError();
};

// Where the copies go. Replace puts the data on the clipboard in place of
// what it held, or returns false and leaves the clipboard alone when it
// cannot be had.
class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;
  virtual bool Replace(std::unique_ptr<QMimeData> data) = 0;
};

// The port the charts use: the system clipboard unless a test set another.
ClipboardPort& ChartClipboard();
// nullptr brings back the system clipboard. The port must outlive its use.
void SetChartClipboard(ClipboardPort* port);

// Uses a port for as long as it lives, then the one before.
class ScopedChartClipboard {
 public:
  explicit ScopedChartClipboard(ClipboardPort& port) : previous_(&ChartClipboard()) {
    SetChartClipboard(&port);
  }
  ~ScopedChartClipboard() { SetChartClipboard(previous_); }
  ScopedChartClipboard(const ScopedChartClipboard&) = delete;
  ScopedChartClipboard& operator=(const ScopedChartClipboard&) = delete;

 private:
  ClipboardPort* previous_;
};

// The vector copy's frame: one pixel narrower and lower than the chart, at
// least one pixel each way.
inline QSize VectorCopySize(QSize chart) {
  return {chart.width() - 1 < 1 ? 1 : chart.width() - 1, chart.height() - 1 < 1 ? 1 : chart.height() - 1};
}

inline constexpr char kSvgMimeType[] = "image/svg+xml";

// QSvgGenerator states the size in millimetres; the copy is measured in
// pixels, like its view box.
QByteArray SvgWithPixelSize(QByteArray svg, QSize size);

}  // namespace dorvane::chart
