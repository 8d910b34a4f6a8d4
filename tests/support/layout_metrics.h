#pragma once
// Font metrics as the layouts measure text, for test expectations: Qt's own
// metrics, except that a line is as high as its ascent and descent each
// rounded up (the classic measure the layouts were drawn with).
#include <QFontMetrics>
#include <QFontMetricsF>
#include <cmath>

namespace dorvane::testsupport {

class LayoutMetrics : public QFontMetrics {
 public:
  explicit LayoutMetrics(const QFont& font) : QFontMetrics(font), exact_(font) {}
  LayoutMetrics(const QFont& font, const QPaintDevice* device)
      : QFontMetrics(font, device), exact_(font, device) {}
  // Hides QFontMetrics::height on purpose: every expectation uses this one.
  int height() const { return int(std::ceil(exact_.ascent())) + int(std::ceil(exact_.descent())); }

 private:
  QFontMetricsF exact_;
};

}  // namespace dorvane::testsupport
