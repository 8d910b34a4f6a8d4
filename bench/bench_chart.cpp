// The chart's drawing pass and unchanged paint against the plain QPainter
// floor of the same picture, and against packaged Qt charting components
// drawing the same data at the same size without antialiasing.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <memory>

#include "core/curves.h"
#include "cpu_model.h"
#include "gfx/fonts.h"
#include "support/program_chart.h"

#ifdef DORVANE_HAVE_QTCHARTS
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#endif
#ifdef DORVANE_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif

namespace {

using namespace dorvane;

constexpr int kW = 345, kH = 321;
const QString kTitle = QStringLiteral("Montage en Pseudo Log (Log Pos)");

const Curves& Data() {
  static const Curves curves = ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true));
  return curves;
}

// The program's chart in its initial state with all three curves shown.
std::unique_ptr<chart::TChart> ProgramChart() {
  auto c = std::make_unique<chart::TChart>();
  c->resize(kW, kH);
  testsupport::ConfigureProgramChart(*c);
  c->Title()->setText({kTitle});
  forms::PlotProgramCurves(*c, Data(), true, true, true);
  return c;
}

// The chart's image at a screen's density: device size, layout pixels.
QImage Target(qreal dpr = 1) {
  QImage img(int(std::ceil(kW * dpr)), int(std::ceil(kH * dpr)), QImage::Format_RGB32);
  img.setDevicePixelRatio(dpr);
  img.fill(Qt::white);
  return img;
}

// --- the chart ------------------------------------------------------------------

void ChartDrawingPass(benchmark::State& state, qreal dpr) {
  auto c = ProgramChart();
  QImage img = Target(dpr);
  for (auto _ : state) {
    QPainter p(&img);
    gfx::Canvas canvas(p);
    c->DrawToCanvas(canvas, {0, 0, kW, kH});
  }
  benchmark::DoNotOptimize(img.bits());
}
void BM_ChartDrawingPass(benchmark::State& state) {
  ChartDrawingPass(state, 1);
}
BENCHMARK(BM_ChartDrawingPass);
// On a screen at 200 %: four times the pixels, against the floor at 200 %.
void BM_ChartDrawingPassScale2(benchmark::State& state) {
  ChartDrawingPass(state, 2);
}
BENCHMARK(BM_ChartDrawingPassScale2);

// The whole replot of one keystroke: title, 303 points, flags, one pass.
void BM_ChartReplotAndPass(benchmark::State& state) {
  auto c = ProgramChart();
  QImage img = Target();
  for (auto _ : state) {
    c->Title()->Text().Clear();
    c->Title()->Text().Add(kTitle);
    forms::PlotProgramCurves(*c, Data(), true, true, true);
    QPainter p(&img);
    gfx::Canvas canvas(p);
    c->DrawToCanvas(canvas, {0, 0, kW, kH});
  }
  benchmark::DoNotOptimize(img.bits());
}
BENCHMARK(BM_ChartReplotAndPass);

// The replot of a keystroke alone, from new points to the updated window
// image: the background image is reused, the series drawn over a copy.
void BM_ChartSeriesOnlyReplot(benchmark::State& state) {
  auto c = ProgramChart();
  const Curves edited = ComputeCurves(0, LoadedCircuit(100000, 10200, 4700, false, true));
  QImage img = Target();
  c->render(&img);  // the first pass makes the background image
  const qint64 backgrounds = c->BackgroundPassCount();
  bool flip = false;
  for (auto _ : state) {
    forms::PlotProgramCurves(*c, flip ? Data() : edited, true, true, true);
    flip = !flip;
    c->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
  }
  if (c->BackgroundPassCount() != backgrounds) state.SkipWithError("a series replot redrew the background");
  benchmark::DoNotOptimize(img.bits());
}
BENCHMARK(BM_ChartSeriesOnlyReplot);

// A paint of an unchanged chart: the widget's paint event copies its image.
void BM_ChartUnchangedPaint(benchmark::State& state) {
  auto c = ProgramChart();
  QImage img = Target();
  c->render(&img);  // the one drawing pass
  const qint64 passes = c->DrawingPassCount();
  for (auto _ : state) c->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
  if (c->DrawingPassCount() != passes) state.SkipWithError("an unchanged paint redrew the chart");
}
BENCHMARK(BM_ChartUnchangedPaint);

// The floor of an unchanged paint: one copy of the image.
void BM_FloorImageCopy(benchmark::State& state) {
  QImage src = Target(), img = Target();
  for (auto _ : state) {
    QPainter p(&img);
    p.drawImage(QPoint(0, 0), src);
  }
  benchmark::DoNotOptimize(img.bits());
}
BENCHMARK(BM_FloorImageCopy);

// --- the plain QPainter floor of the same picture -------------------------------

struct FloorScene {
  QRect plot;
  std::vector<std::pair<QPoint, QString>> labels;  // cell top-left and text
  std::vector<QLine> grid, ticks;
  QPolygon curves[3];
  QRect clip;
  QPoint bottomTitle, leftTitle;
};

FloorScene MakeFloorScene() {
  auto c = ProgramChart();
  QImage img = Target();
  {
    QPainter p(&img);
    gfx::Canvas canvas(p);
    c->DrawToCanvas(canvas, {0, 0, kW, kH});
  }
  FloorScene s;
  const gfx::Rect r = c->PlotRect();
  s.plot = QRect(r.left, r.top, r.width() + 1, r.height() + 1);
  s.clip = QRect(r.left + 1, r.top + 1, r.width() - 1, r.height() - 2);
  const QFontMetrics fm(gfx::PixelFont(QStringLiteral("Arial"), 11), &img);
  const chart::TChartAxis& b = *c->BottomAxis();
  const chart::TChartAxis& l = *c->LeftAxis();
  for (int t : b.TickPositions()) {
    const QString text = b.LabelText(b.PixelToValue(t));
    s.labels.push_back({{t - fm.horizontalAdvance(text) / 2, b.LabelsEdge()}, text});
    s.grid.emplace_back(t, r.top, t, r.bottom - 1);
    s.ticks.emplace_back(t, r.bottom + 1, t, r.bottom + 4);
  }
  for (int t : l.TickPositions()) {
    const QString text = l.LabelText(l.PixelToValue(t));
    s.labels.push_back({{l.LabelsEdge() - fm.horizontalAdvance(text), t - fm.height() / 2}, text});
    s.grid.emplace_back(r.left, t, r.right - 1, t);
    s.ticks.emplace_back(r.left - 1, t, r.left - 4, t);
  }
  for (int i = 0; i < 3; ++i) {
    const chart::TChartSeries& series = *c->Series(i);
    for (int k = 0; k < series.Count(); ++k)
      s.curves[i] << QPoint(b.ValueToPixel(series.XValues()->Value(k)),
                            l.ValueToPixel(series.YValues()->Value(k)));
  }
  s.bottomTitle = QPoint(b.Geometry().map.CenterPixel(), b.TitleEdge());
  s.leftTitle = QPoint(l.TitleEdge() - fm.height(), l.Geometry().map.CenterPixel());
  return s;
}

void FloorQPainterFrame(benchmark::State& state, qreal dpr) {
  const FloorScene s = MakeFloorScene();
  QImage img = Target(dpr);
  const QFont font = gfx::PixelFont(QStringLiteral("Arial"), 11);
  const QString bottomTitle = QStringLiteral("Position curseur (en % de la course totale)");
  const QString leftTitle = QString::fromUtf8("Valeur résistance Rb (en % de la valeur totale)");
  const QColor colours[3] = {QColor(0x80, 0xFF, 0), QColor(Qt::red), QColor(0xC0, 0xC0, 0xC0)};
  for (auto _ : state) {
    QPainter p(&img);
    p.fillRect(img.rect(), QColor(Qt::cyan));
    p.setFont(font);
    p.setPen(Qt::blue);
    p.drawText(QPoint(60, 23), kTitle);
    p.fillRect(s.plot, Qt::black);
    p.setPen(QPen(Qt::gray, 0, Qt::DotLine));
    p.drawLines(s.grid.data(), int(s.grid.size()));
    p.setPen(QPen(Qt::gray, 0));
    p.drawLines(s.ticks.data(), int(s.ticks.size()));
    p.fillRect(QRect(s.plot.left() - 1, s.plot.top(), 2, s.plot.height()), Qt::black);
    p.setPen(Qt::black);
    for (const auto& [cell, text] : s.labels) p.drawText(cell + QPoint(0, 10), text);
    p.drawText(s.bottomTitle + QPoint(-120, 10), bottomTitle);
    p.save();
    p.translate(s.leftTitle);
    p.rotate(-90);
    p.drawText(QPoint(-110, 10), leftTitle);
    p.restore();
    p.setClipRect(s.clip);
    for (int i = 0; i < 3; ++i) {
      p.setPen(QPen(colours[i], 0));
      p.drawPolyline(s.curves[i]);
    }
  }
  benchmark::DoNotOptimize(img.bits());
}
void BM_FloorQPainterFrame(benchmark::State& state) {
  FloorQPainterFrame(state, 1);
}
BENCHMARK(BM_FloorQPainterFrame);
void BM_FloorQPainterFrameScale2(benchmark::State& state) {
  FloorQPainterFrame(state, 2);
}
BENCHMARK(BM_FloorQPainterFrameScale2);

// --- peers --------------------------------------------------------------------------

#ifdef DORVANE_HAVE_QCUSTOMPLOT
std::unique_ptr<QCustomPlot> CustomPlot() {
  auto plot = std::make_unique<QCustomPlot>();
  plot->resize(kW, kH);
  plot->setNotAntialiasedElements(QCP::aeAll);
  plot->setBackground(QBrush(Qt::cyan));
  plot->axisRect()->setBackground(QBrush(Qt::black));
  plot->plotLayout()->insertRow(0);
  plot->plotLayout()->addElement(0, 0, new QCPTextElement(plot.get(), kTitle));
  plot->xAxis->setRange(0, 100);
  plot->yAxis->setRange(0, 100);
  plot->xAxis->setLabel(QStringLiteral("Position curseur (en % de la course totale)"));
  plot->yAxis->setLabel(QString::fromUtf8("Valeur résistance Rb (en % de la valeur totale)"));
  const QColor colours[3] = {QColor(0x80, 0xFF, 0), QColor(Qt::red), QColor(0xC0, 0xC0, 0xC0)};
  const std::vector<CurvePoint>* lists[3] = {&Data().linear, &Data().loaded, &Data().log};
  for (int i = 0; i < 3; ++i) {
    QCPGraph* g = plot->addGraph();
    g->setPen(QPen(colours[i], 0));
    QVector<double> x, y;
    for (const CurvePoint& pt : *lists[i]) x << pt.x, y << pt.y;
    g->setData(x, y, true);
  }
  return plot;
}

void BM_QCustomPlotReplotAndRender(benchmark::State& state) {
  auto plot = CustomPlot();
  QImage img = Target();
  for (auto _ : state) {
    plot->replot(QCustomPlot::rpImmediateRefresh);
    plot->render(&img);
  }
  benchmark::DoNotOptimize(img.bits());
}
BENCHMARK(BM_QCustomPlotReplotAndRender);

void BM_QCustomPlotRefillReplotAndRender(benchmark::State& state) {
  auto plot = CustomPlot();
  QImage img = Target();
  const std::vector<CurvePoint>* lists[3] = {&Data().linear, &Data().loaded, &Data().log};
  for (auto _ : state) {
    for (int i = 0; i < 3; ++i) {
      QVector<double> x, y;
      for (const CurvePoint& pt : *lists[i]) x << pt.x, y << pt.y;
      plot->graph(i)->setData(x, y, true);
    }
    plot->replot(QCustomPlot::rpImmediateRefresh);
    plot->render(&img);
  }
  benchmark::DoNotOptimize(img.bits());
}
BENCHMARK(BM_QCustomPlotRefillReplotAndRender);
#endif

#ifdef DORVANE_HAVE_QTCHARTS
struct QtChartsScene {
  QChartView view;
  QChart* chart = new QChart;
  QLineSeries* series[3];
  QtChartsScene() {
    view.setChart(chart);  // the view owns the chart
    view.setRenderHint(QPainter::Antialiasing, false);
    view.resize(kW, kH);
    chart->setTitle(kTitle);
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::cyan);
    chart->setPlotAreaBackgroundBrush(Qt::black);
    chart->setPlotAreaBackgroundVisible(true);
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    x->setRange(0, 100);
    y->setRange(0, 100);
    x->setTickCount(11);
    y->setTickCount(21);
    x->setTitleText(QStringLiteral("Position curseur (en % de la course totale)"));
    y->setTitleText(QString::fromUtf8("Valeur résistance Rb (en % de la valeur totale)"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    const QColor colours[3] = {QColor(0x80, 0xFF, 0), QColor(Qt::red), QColor(0xC0, 0xC0, 0xC0)};
    for (int i = 0; i < 3; ++i) {
      series[i] = new QLineSeries;
      series[i]->setPen(QPen(colours[i], 0));
      chart->addSeries(series[i]);
      series[i]->attachAxis(x);
      series[i]->attachAxis(y);
    }
    Fill();
    view.show();
    QApplication::processEvents();
  }
  void Fill() {
    const std::vector<CurvePoint>* lists[3] = {&Data().linear, &Data().loaded, &Data().log};
    for (int i = 0; i < 3; ++i) {
      QList<QPointF> pts;
      for (const CurvePoint& pt : *lists[i]) pts << QPointF(pt.x, pt.y);
      series[i]->replace(pts);
    }
  }
};

void BM_QtChartsRender(benchmark::State& state) {
  QtChartsScene s;
  QImage img = Target();
  for (auto _ : state) {
    QPainter p(&img);
    s.view.render(&p);
  }
  benchmark::DoNotOptimize(img.bits());
}
BENCHMARK(BM_QtChartsRender);

void BM_QtChartsRefillAndRender(benchmark::State& state) {
  QtChartsScene s;
  QImage img = Target();
  for (auto _ : state) {
    s.Fill();
    QApplication::processEvents();
    QPainter p(&img);
    s.view.render(&p);
  }
  benchmark::DoNotOptimize(img.bits());
}
BENCHMARK(BM_QtChartsRefillAndRender);
#endif

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  dorvane::gfx::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  dorvane::bench::RecordCpuModel();
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
