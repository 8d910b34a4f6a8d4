// The window's image keeps everything but the series in a second image: a
// replot that changes only the series reuses it, every other change makes it
// again, and either way the window shows what a whole drawing pass draws.
#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <functional>

#include <gtest/gtest.h>

#include "chart_test_support.h"
#include "core/curves.h"

namespace dorvane::chart {
namespace {

using namespace dorvane::chart::support;

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

QImage Shown(QWidget& w) {
  return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(ChartBackground, EachKindOfChangeShowsWhatAWholePassDraws) {
  const Curves initial = ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true));
  const Curves edited = ComputeCurves(0, LoadedCircuit(100000, 10200, 4700, false, true));
  struct Case {
    const char* what;
    std::function<void(TChart&)> change;
    bool background;  // the background image is made again
    std::function<void(TChart&)> before = [](TChart&) {};
  };
  const Case cases[] = {
      {"new points", [&](TChart& c) { PlotProgramCurves(c, edited, true, true, false); }, false},
      {"same title written again",
       [](TChart& c) {
         c.Title()->Text().Clear();
         c.Title()->Text().Add(kTitle);
       },
       false},
      {"curve colour", [](TChart& c) { c.Series(0)->setSeriesColor(gfx::clBlue); }, false},
      {"curve shown", [&](TChart& c) { PlotProgramCurves(c, initial, true, true, true); }, false},
      {"title text", [](TChart& c) { c.Title()->setText({QStringLiteral("Autre titre")}); }, true},
      {"curves off, axes without numbers",
       [&](TChart& c) { PlotProgramCurves(c, initial, false, false, false); }, true},
      {"automatic range follows the points", [](TChart& c) { c.Series(1)->AddPoint(100, 150); }, true,
       [](TChart& c) { c.LeftAxis()->setAutomatic(true); }},
      {"size", [](TChart& c) { c.resize(kWidth + 40, kHeight - 30); }, true},
      {"zoom", [](TChart& c) { c.ZoomRect(QRect(120, 80, 60, 50)); }, true},
      {"scroll", [](TChart& c) { c.BottomAxis()->SetMinMax(10, 110); }, true},
      {"wheel",
       [](TChart& c) {
         QWheelEvent e(QPointF(150, 150), c.mapToGlobal(QPointF(150, 150)), QPoint(), QPoint(0, -120),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
         QApplication::sendEvent(&c, &e);
       },
       true},
      {"title font", [](TChart& c) { c.Title()->setFont(gfx::PixelFont(QStringLiteral("Arial"), 14)); },
       true},
      {"labels font",
       [](TChart& c) { c.BottomAxis()->setLabelsFont(gfx::PixelFont(QStringLiteral("Arial"), 9)); }, true},
      {"panel colour", [](TChart& c) { c.setColor(gfx::clYellow); }, true},
      {"wall colour", [](TChart& c) { c.setBackColor(gfx::clNavy); }, true},
      {"grid pen", [](TChart& c) { c.LeftAxis()->Grid()->setColor(gfx::clRed); }, true},
      {"system colours of the bevel",
       [](TChart&) {
         QPalette dark = QApplication::palette();
         dark.setColor(QPalette::Light, Qt::darkBlue);
         dark.setColor(QPalette::Dark, Qt::darkRed);
         QApplication::setPalette(dark);
       },
       true, [](TChart& c) { c.setBevelOuter(bvRaised); }},
      {"locale's decimal separator",
       [](TChart& c) { c.setDecimalSeparator(c.DecimalSeparator() == u',' ? u'.' : u','); }, true,
       [](TChart& c) { c.BottomAxis()->SetMinMax(0, 0.5); }},
  };
  const QPalette palette = QApplication::palette();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    struct PaletteBack {
      const QPalette& p;
      ~PaletteBack() { QApplication::setPalette(p); }
    } back{palette};
    TChart chart;
    SetUpProgramChart(chart);
    PlotProgramCurves(chart, initial, true, true, false);
    k.before(chart);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    Settle();
    const QImage before = Shown(chart);
    const qint64 backgrounds = chart.BackgroundPassCount();
    k.change(chart);
    Settle();
    const QImage shown = Shown(chart);
    EXPECT_EQ(shown, chart.DrawToImage(chart.size()));
    EXPECT_EQ(chart.BackgroundPassCount() > backgrounds, k.background);
    if (std::string(k.what) != "same title written again") {
      EXPECT_NE(shown, before) << "the change shows";
    }
  }
}

}  // namespace
}  // namespace dorvane::chart
