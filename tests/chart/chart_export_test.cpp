// The chart's copies for the clipboard: the bitmap is the window's image,
// the SVG is the same drawing one pixel smaller, a refused clipboard keeps
// its content, and copying neither changes the chart nor asks for a paint.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTest>
#include <cstring>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "chart/chart_export.h"
#include "chart_test_support.h"
#include "core/curves.h"
#include "platform/metafile.h"
#include "support/widget_helpers.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace dorvane::chart {
namespace {

using namespace dorvane::chart::support;

using testsupport::PaintCounter;
using testsupport::Settle;

class Refusing final : public ClipboardPort {
 public:
  bool Replace(std::unique_ptr<QMimeData>) override {
    ++calls;
    return false;
  }
  int calls = 0;
};

struct ActiveSet {
  bool linear, loaded, log;
};

class ChartExport : public ::testing::TestWithParam<ActiveSet> {
 protected:
  void SetUp() override {
    SetUpProgramChart(chart_);
    const ActiveSet a = GetParam();
    PlotProgramCurves(chart_, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), a.linear,
                      a.loaded, a.log);
    chart_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart_));
    Settle();
  }
  QImage WindowImage() { return chart_.grab().toImage().convertToFormat(QImage::Format_RGB32); }

  TChart chart_;
};

TEST_P(ChartExport, BitmapIsTheWindowImagePixelForPixel) {
  const QImage shown = WindowImage();
  ASSERT_EQ(shown.size(), QSize(kWidth, kHeight));
  chart_.CopyAsBitmap();
  const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(copied.size(), QSize(kWidth, kHeight));
  EXPECT_EQ(copied, shown);
  EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
  // A window on a screen at 200 % or 150 % copies the same 1x picture.
  for (const qreal scale : {2.0, 1.5}) {
    DenseChart dense(scale);
    SetUpProgramChart(dense);
    const ActiveSet a = GetParam();
    PlotProgramCurves(dense, ComputeCurves(0, LoadedCircuit(100000, 10200, 10000, false, true)), a.linear,
                      a.loaded, a.log);
    QImage target(QSize(kWidth, kHeight) * scale, QImage::Format_RGB32);
    target.setDevicePixelRatio(scale);
    dense.render(&target);
    EXPECT_EQ(dense.OffscreenImage().devicePixelRatio(), scale);
    EXPECT_EQ(dense.ExportBitmap().convertToFormat(QImage::Format_RGB32), copied) << scale;
  }
}

TEST_P(ChartExport, SvgIsOnePixelSmallerAndShowsPanelAndPlotWhereTheBitmapDoes) {
  const QImage bitmap = WindowImage();
  chart_.CopyAsMetafile(true);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(data->hasFormat("image/svg+xml"));
  const QByteArray svg = data->data("image/svg+xml");
  EXPECT_TRUE(svg.contains(R"(<svg width="344" height="320")")) << svg.left(300).constData();
  EXPECT_TRUE(svg.contains(R"(viewBox="0 0 344 320")"));
  QSvgRenderer renderer(svg);
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.defaultSize(), QSize(344, 320));

  QImage drawn(344, 320, QImage::Format_RGB32);
  drawn.fill(Qt::white);
  {
    QPainter p(&drawn);
    renderer.render(&p);
  }
  // Away from edges (the renderer smooths them), aqua and black agree.
  int aqua = 0, black = 0;
  for (int y = 1; y < 319; ++y)
    for (int x = 1; x < 343; ++x) {
      const QRgb c = bitmap.pixel(x, y);
      if (c != kAqua && c != kBlack) continue;
      bool uniform = true;
      for (int dy = -1; dy <= 1 && uniform; ++dy)
        for (int dx = -1; dx <= 1 && uniform; ++dx) uniform = bitmap.pixel(x + dx, y + dy) == c;
      if (!uniform) continue;
      ASSERT_EQ(drawn.pixel(x, y), c) << x << "," << y;
      ++(c == kAqua ? aqua : black);
    }
  EXPECT_GT(aqua, 10000);
  EXPECT_GT(black, 30000);
}

// Whether the system has a metafile of its own (Windows' enhanced
// metafile); the copy then draws the chart once more.
bool SystemMetafile() {
  return !platform::RecordMetafile({1, 1}, [](QPainter&) {}).isEmpty();
}

#ifdef Q_OS_WIN
// The metafile played back by the system into a white bitmap of `size`,
// without its text records when `text` is false.
QImage PlayBack(const QByteArray& bytes, QSize size, bool text) {
  QImage out;
  HENHMETAFILE metafile =
      SetEnhMetaFileBits(UINT(bytes.size()), reinterpret_cast<const BYTE*>(bytes.constData()));
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.width(), -size.height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (metafile && dc && bitmap) {
    const HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, size.width(), size.height(), WHITENESS);
    const RECT frame{0, 0, size.width(), size.height()};
    const auto withoutText = [](HDC hdc, HANDLETABLE* table, const ENHMETARECORD* record, int n, LPARAM) {
      if (record->iType != EMR_EXTTEXTOUTW && record->iType != EMR_EXTTEXTOUTA)
        PlayEnhMetaFileRecord(hdc, table, record, UINT(n));
      return 1;
    };
    const bool played = text ? PlayEnhMetaFile(dc, metafile, &frame)
                             : EnumEnhMetaFile(dc, metafile, withoutText, nullptr, &frame);
    GdiFlush();
    if (played)
      out = QImage(static_cast<const uchar*>(bits), size.width(), size.height(), QImage::Format_RGB32).copy();
    SelectObject(dc, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  if (metafile) DeleteEnhMetaFile(metafile);
  return out;
}
#endif

// The enhanced metafile (Windows): the system's own records, played back by
// the system as the bitmap copy shows the chart, every pixel outside the
// text glyphs equal (the glyphs: where the metafile's text records paint,
// widened by 2 pixels). Elsewhere the SVG stays alone.
TEST_P(ChartExport, MetafilePlaysBackAsTheBitmapOutsideItsText) {
  chart_.CopyAsMetafile(true);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  EXPECT_TRUE(data->hasFormat("image/svg+xml"));
#ifndef Q_OS_WIN
  EXPECT_FALSE(data->hasFormat(platform::kMetafileMimeType));
#else
  ASSERT_TRUE(data->hasFormat(platform::kMetafileMimeType));
  const QByteArray bytes = data->data(platform::kMetafileMimeType);
  ASSERT_GE(bytes.size(), qsizetype(sizeof(ENHMETAHEADER)));
  ENHMETAHEADER header;
  std::memcpy(&header, bytes.constData(), sizeof header);
  EXPECT_EQ(header.dSignature, DWORD(ENHMETA_SIGNATURE));
  // The frame is 344 x 320 pixels of the reference device.
  const double frameWidth =
      (header.rclFrame.right - header.rclFrame.left) / 100.0 * header.szlDevice.cx / header.szlMillimeters.cx;
  const double frameHeight =
      (header.rclFrame.bottom - header.rclFrame.top) / 100.0 * header.szlDevice.cy / header.szlMillimeters.cy;
  EXPECT_NEAR(frameWidth, 344, 1);
  EXPECT_NEAR(frameHeight, 320, 1);
  // Text as text, the curves as lines.
  std::map<DWORD, int> records;
  HENHMETAFILE metafile =
      SetEnhMetaFileBits(UINT(bytes.size()), reinterpret_cast<const BYTE*>(bytes.constData()));
  EnumEnhMetaFile(
      nullptr, metafile,
      [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM counts) {
        ++(*reinterpret_cast<std::map<DWORD, int>*>(counts))[record->iType];
        return 1;
      },
      &records, nullptr);
  DeleteEnhMetaFile(metafile);
  EXPECT_GE(records[EMR_EXTTEXTOUTW], 3);  // the titles
  if (GetParam().linear) {
    EXPECT_GE(records[EMR_EXTTEXTOUTW], 20);  // and the labels
    EXPECT_GE(records[EMR_LINETO], 50);
  }

  const QSize size(344, 320);
  const QImage played = PlayBack(bytes, size, true), bare = PlayBack(bytes, size, false);
  ASSERT_FALSE(played.isNull());
  ASSERT_FALSE(bare.isNull());
  const QImage bitmap = chart_.ExportBitmap().convertToFormat(QImage::Format_RGB32).copy(QRect({0, 0}, size));
  std::vector<bool> glyph(size_t(size.width() * size.height()));
  int glyphs = 0, outside = 0;
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      if (played.pixel(x, y) != bare.pixel(x, y))
        for (int dy = -2; dy <= 2; ++dy)
          for (int dx = -2; dx <= 2; ++dx)
            if (QRect({0, 0}, size).contains(x + dx, y + dy))
              glyph[size_t((y + dy) * size.width() + x + dx)] = true;
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) {
      const bool inGlyph = glyph[size_t(y * size.width() + x)];
      glyphs += inGlyph;
      if (inGlyph || (played.pixel(x, y) & 0xFFFFFF) == (bitmap.pixel(x, y) & 0xFFFFFF)) continue;
      if (outside < 10) ADD_FAILURE() << "differs outside the text at " << x << "," << y;
      ++outside;
    }
  EXPECT_GT(glyphs, 1000) << "no text played back";
  EXPECT_EQ(outside, 0);
#endif
}

INSTANTIATE_TEST_SUITE_P(Curves, ChartExport,
                         ::testing::Values(ActiveSet{true, true, false}, ActiveSet{true, true, true},
                                           ActiveSet{false, false, false}));

class ChartExportOnce : public ChartExport {};

TEST_P(ChartExportOnce, SvgKeepsTextAsTextAndCurvesAsLinesInsideThePlot) {
  chart_.CopyAsMetafile(false);
  const QByteArray svg = QGuiApplication::clipboard()->mimeData()->data("image/svg+xml");
  const QString text = QString::fromUtf8(svg);
  EXPECT_TRUE(text.contains(">" + kTitle + "</text>"));
  EXPECT_TRUE(text.contains(">" + kBottomTitle + "</text>"));
  EXPECT_TRUE(text.contains(">100</text>"));
  // The red curve: polylines only, every end inside the plot's clip.
  const Expected e;
  static const QRegularExpression group(R"re(stroke="#ff0000"[^>]*>\s*((?:<polyline[^>]*>\s*)+))re");
  static const QRegularExpression points(R"re(points="([-\d.]+),([-\d.]+) ([-\d.]+),([-\d.]+) ")re");
  int segments = 0;
  for (auto g = group.globalMatch(text); g.hasNext();) {
    const QString lines = g.next().captured(1);
    for (auto m = points.globalMatch(lines); m.hasNext(); ++segments) {
      const auto p = m.next();
      for (int k : {1, 3}) {
        EXPECT_GE(p.captured(k).toDouble(), e.left + 1 - 1e-9);
        EXPECT_LE(p.captured(k).toDouble(), e.right + 1e-9);
      }
      for (int k : {2, 4}) {
        EXPECT_GE(p.captured(k).toDouble(), e.top + 1 - 1e-9);
        EXPECT_LE(p.captured(k).toDouble(), e.bottom - 1 + 1e-9);
      }
    }
  }
  EXPECT_GT(segments, 20);
  EXPECT_LT(svg.count("<rect"), 200) << "lines are not written pixel by pixel";
}

TEST_P(ChartExportOnce, CopyingChangesNothingAndAsksForNoPaint) {
  const qint64 passes = chart_.DrawingPassCount();
  PaintCounter counter(&chart_);
  const double bottomMax = chart_.BottomAxis()->Maximum();
  const QStringList title = chart_.Title()->TextLines();
  chart_.CopyAsBitmap();
  chart_.CopyAsMetafile(true);
  const int vectorPasses = SystemMetafile() ? 2 : 1;
  EXPECT_EQ(chart_.DrawingPassCount(), passes + 1 + vectorPasses);
  Settle();
  EXPECT_EQ(counter.paints, 0) << "no paint was asked for";
  EXPECT_TRUE(chart_.BufferedDisplay());
  EXPECT_EQ(chart_.BottomAxis()->Maximum(), bottomMax);
  EXPECT_EQ(chart_.Title()->TextLines(), title);
  // The off-screen image was dropped: the next paint draws afresh.
  EXPECT_TRUE(chart_.ImageStale());
  chart_.repaint();
  EXPECT_EQ(chart_.DrawingPassCount(), passes + 2 + vectorPasses);
}

TEST_P(ChartExportOnce, ACopyShowsAnUnpaintedChangeAndReplacesTheLastCopy) {
  chart_.CopyAsBitmap();
  const QImage first = QGuiApplication::clipboard()->image();
  chart_.Title()->Text().Clear();
  chart_.Title()->Text().Add(QStringLiteral("Montage en Pseudo Anti-Log"));
  chart_.CopyAsBitmap();  // before any paint
  const QImage second = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  EXPECT_NE(second, first.convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(second, WindowImage());

  chart_.CopyAsMetafile(true);  // the SVG replaces the bitmap
  EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());
  EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat("image/svg+xml"));
}

TEST_P(ChartExportOnce, ARefusedClipboardRaisesTheMessageAndKeepsItsContent) {
  QGuiApplication::clipboard()->setText(QStringLiteral("avant"));
  Refusing refusing;
  {
    ScopedChartClipboard scope(refusing);
    for (int k = 0; k < 2; ++k) {
      try {
        k == 0 ? chart_.CopyAsBitmap() : chart_.CopyAsMetafile(true);
        ADD_FAILURE() << "no error raised";
      } catch (const EClipboardError& error) {
        EXPECT_STREQ(error.what(), "Ne peut ouvrir le Presse-papiers");
      }
    }
  }
  EXPECT_EQ(refusing.calls, 2);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("avant"));
  EXPECT_TRUE(chart_.BufferedDisplay());
  // The system clipboard is back.
  chart_.CopyAsBitmap();
  EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
}

INSTANTIATE_TEST_SUITE_P(Plotted, ChartExportOnce, ::testing::Values(ActiveSet{true, true, false}));

TEST(ChartExportSize, VectorCopyIsOnePixelSmallerButNeverEmpty) {
  struct Case {
    QSize chart, svg;
  } cases[] = {{{345, 321}, {344, 320}}, {{2, 2}, {1, 1}}, {{1, 1}, {1, 1}}, {{0, 0}, {1, 1}}};
  for (const Case& c : cases) {
    TChart chart;
    SetUpProgramChart(chart);
    chart.resize(c.chart);
    QSvgRenderer renderer(chart.ExportSvg());
    EXPECT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), c.svg) << c.chart.width();
    EXPECT_FALSE(chart.ExportBitmap().isNull());
  }
}

}  // namespace
}  // namespace dorvane::chart
