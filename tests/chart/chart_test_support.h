#pragma once
// Expectations for the program's chart computed from QFontMetrics and the
// chart's layout rules, never from the chart code itself.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <vector>
#include "support/layout_metrics.h"
#include "support/program_chart.h"

#include "gfx/fonts.h"

namespace dorvane::chart::support {

using testsupport::ConfigureProgramChart;
using testsupport::PlotProgramCurves;

inline constexpr int kWidth = 345, kHeight = 321;
inline const QString kTitle = QStringLiteral("Montage en Pseudo Log (Log Pos)");
inline const QString kBottomTitle = QStringLiteral("Position curseur (en % de la course totale)");
inline const QString kLeftTitle = QString::fromUtf8("Valeur résistance Rb (en % de la valeur totale)");

inline constexpr QRgb kAqua = 0xFF00FFFF, kBlack = 0xFF000000, kGrey = 0xFF808080, kSilver = 0xFFC0C0C0,
                      kRed = 0xFFFF0000, kGreen = 0xFF80FF00, kBlue = 0xFF0000FF;

inline QFont ChartFont() {
  return gfx::PixelFont(QStringLiteral("Arial"), 11);
}

inline testsupport::LayoutMetrics Metrics() {
  static const QImage probe(1, 1, QImage::Format_RGB32);
  return testsupport::LayoutMetrics(ChartFont(), &probe);
}

// Nearest integer, halves to even (the chart's rounding of pixels).
inline int Round(double v) {
  return int(std::nearbyint(v));
}

// Geometry of the chart at 345 x 321 with a one-line title and labels on
// both axes.
struct Expected {
  int h, w100, wBlank;
  int left, top, right, bottom;
  int stepX, stepY;

  Expected(bool titleLine = true, bool leftLabels = true) {
    const testsupport::LayoutMetrics fm = Metrics();
    h = fm.height();
    w100 = fm.horizontalAdvance(QStringLiteral("100"));
    wBlank = fm.horizontalAdvance(QStringLiteral(" "));
    // Margins 1 %, 4 %, 3 %, 1 % of 345 x 321: (3, 13, 335, 318).
    top = 13 + (titleLine ? h + 5 : 0);
    bottom = 318 - h /*title*/ - h /*labels*/ - 6 /*axis pen 2 + tick 4*/;
    left = 3 + h + (leftLabels ? w100 + wBlank : 0) + 6;
    right = 335;
    // Label steps worked out by hand from the spans above (Liberation Sans
    // at 11 px: labels 13 px high, "100" 18 px wide, 10 % apart): the left
    // axis fits Round(255 / 14) = 18 labels (step 10), or Round(273 / 14) =
    // 20 without the title line (step 5); the bottom axis Round(292 / 20) =
    // 15, or Round(313 / 20) = 16 without left labels (step 10 both).
    const struct {
      bool titleLine, leftLabels;
      int stepX, stepY;
    } kSteps[] = {{true, true, 10, 10}, {true, false, 10, 10}, {false, true, 10, 5}, {false, false, 10, 5}};
    for (const auto& s : kSteps)
      if (s.titleLine == titleLine && s.leftLabels == leftLabels) stepX = s.stepX, stepY = s.stepY;
  }
  int X(double v) const { return left + Round(v * (right - left) / 100); }
  int Y(double v) const { return bottom - Round(v * (bottom - top) / 100); }
  // Tick pixels from the top value down.
  std::vector<int> TicksX() const {
    std::vector<int> out;
    for (int v = 100; v >= 0; v -= stepX) out.push_back(X(v));
    return out;
  }
  std::vector<int> TicksY() const {
    std::vector<int> out;
    for (int v = 100; v >= 0; v -= stepY) out.push_back(Y(v));
    return out;
  }
};

// The program's chart, sized as laid out, with the title of the initial
// state.
inline void SetUpProgramChart(TChart& chart) {
  chart.resize(kWidth, kHeight);
  ConfigureProgramChart(chart);
  chart.Title()->Text().Clear();
  chart.Title()->Text().Add(kTitle);
}

// A chart on a screen of another density.
class DenseChart : public TChart {
 public:
  explicit DenseChart(qreal scale) : scale_(scale) {}

 protected:
  int metric(PaintDeviceMetric m) const override {
    if (m == PdmDevicePixelRatio) return int(std::ceil(scale_));
    if (m == PdmDevicePixelRatioScaled) return int(scale_ * QPaintDevice::devicePixelRatioFScale());
    return TChart::metric(m);
  }

 private:
  qreal scale_;
};

inline QImage Render(TChart& chart, qreal dpr = 1) {
  return chart.DrawToImage({kWidth, kHeight}, dpr);
}

// Text drawn by QPainter alone with its cell's top-left corner at `cell`,
// on the chart's background.
inline QImage ReferenceText(const QString& text, QPoint cell, QRgb colour, QRgb background = kAqua) {
  QImage img(kWidth, kHeight, QImage::Format_RGB32);
  img.fill(background);
  QPainter p(&img);
  p.setFont(ChartFont());
  p.setPen(QColor::fromRgb(colour));
  p.drawText(QPoint(cell.x(), cell.y() + Metrics().ascent()), text);
  return img;
}

inline int CountNot(const QImage& img, QRgb colour, const QRect& r) {
  return r.width() * r.height() - [&] {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (img.pixel(x, y) == colour) ++n;
    return n;
  }();
}

// Pixels of a rectangle that differ between two images.
inline int DifferentPixels(const QImage& a, const QImage& b, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) ++n;
  return n;
}

inline int CountColour(const QImage& img, QRgb colour, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (img.pixel(x, y) == colour) ++n;
  return n;
}

}  // namespace dorvane::chart::support
