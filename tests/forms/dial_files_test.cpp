// The dial's files as a reader finds them: the PDF's page and texts through
// the system's PDF tools, its ring measured on a rendering at a known
// resolution; the SVG's size and rings; the PNG's resolution and ring. (The
// marks file's angles: the core's test and the command line's.)
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include "forms/dial_files.h"

namespace dorvane::forms {
namespace {

DialPicture Dial(const Circuit& circuit, DialUnit unit, DialSettings settings = {}) {
  const std::vector<double> levels = DefaultDialMarks(unit);
  DialPicture p;
  p.marks = PlaceDialMarks(circuit, levels, unit, settings.rotationDegrees).placed;
  p.unit = unit;
  p.settings = settings;
  p.circuit = DialCircuitCaption("100K", circuit.fitted, "10K", std::isinf(circuit.loadOhms) ? "" : "47K");
  return p;
}

// The ring's diameter in pixels, measured on the picture from a point inside
// it: the inner edges left, right, up and down, and the line's thickness at
// the bottom, where the travel leaves a gap free of ticks. Also how far the
// ring's centre lies from the point given, each way.
struct Ring {
  double across = 0, down = 0;
  double offX = 0, offY = 0;
};
Ring MeasureRing(const QImage& image, QPoint inside) {
  const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
  // From the centre's cross out to the ring's inner edge; -1 when none.
  const auto innerEdge = [&](int dx, int dy) {
    int x = inside.x(), y = inside.y();
    while (image.rect().contains(x, y) && dark(x, y)) x += dx, y += dy;
    while (image.rect().contains(x, y) && !dark(x, y)) x += dx, y += dy;
    return image.rect().contains(x, y) ? QPoint(x, y) : QPoint(-1, -1);
  };
  const QPoint left = innerEdge(-1, 0), right = innerEdge(1, 0), up = innerEdge(0, -1),
               down = innerEdge(0, 1);
  int y = down.y();
  while (y < image.height() && dark(inside.x(), y)) ++y;
  const int thickness = y - down.y();
  Ring r;
  r.across = right.x() - left.x() - 1 + thickness;
  r.down = down.y() - up.y() - 1 + thickness;
  r.offX = (left.x() + right.x()) / 2.0 - inside.x();
  r.offY = (up.y() + down.y()) / 2.0 - inside.y();
  return r;
}

QString RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

class DialFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

TEST_F(DialFiles, PdfPrintsTheRingAtTheDiameterAskedWithItsTextsAsText) {
  for (const char* tool : {"pdfinfo", "pdftotext", "pdftoppm"})
    if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is missing";
  for (const double diameter : {40.0, 20.0, 100.0}) {
    SCOPED_TRACE(diameter);
    DialSettings settings;
    settings.diameterMm = diameter;
    const DialPicture picture = Dial({100000, Fitted::R2, 10000}, DialUnit::Decibels, settings);
    const QString pdf = Path("cadran.pdf");
    ASSERT_EQ(SaveDialFile(picture, pdf, OutputType::Pdf), "");

    // The page as the reader sees it, and the same page rendered at 600 dpi.
    const QRegularExpressionMatch size =
        QRegularExpression(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)").match(RunTool("pdfinfo", {pdf}));
    ASSERT_TRUE(size.hasMatch());
    RunTool("pdftoppm", {"-r", "600", "-gray", "-singlefile", pdf, Path("page")});
    const QImage page(Path("page.pgm"));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), size.captured(1).toDouble() / 72 * 600, 1);
    EXPECT_NEAR(page.height(), size.captured(2).toDouble() / 72 * 600, 1);

    // The ring, measured from where the layout puts the centre: centred
    // there, and the diameter asked once printed.
    const DialLayout layout = LayoutDial(picture);
    const double perMm = 600 / 25.4;
    const Ring ring = MeasureRing(page, QPoint(int(std::lround(layout.centre.x() * perMm)),
                                               int(std::lround(layout.centre.y() * perMm))));
    EXPECT_NEAR(ring.across / perMm, diameter, 0.1);
    EXPECT_NEAR(ring.down / perMm, diameter, 0.1);
    EXPECT_LE(std::abs(ring.offX), 1.5);
    EXPECT_LE(std::abs(ring.offY), 1.5);
    // Nothing reaches the page's edges: the margin is white.
    const int margin = int(2 * perMm);
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x)
        if (x < margin || y < margin || x >= page.width() - margin || y >= page.height() - margin) {
          ASSERT_GE(qGray(page.pixel(x, y)), 128) << x << "," << y;
        }

    const QString text = RunTool("pdftotext", {pdf, "-"});
    for (const char* label : {"0 dB", "-3 dB", "-20 dB", "-60 dB", "P1 100K, R2 10K"})
      EXPECT_TRUE(text.contains(QString::fromUtf8(label))) << label << "\n" << text.toStdString();
  }
}

TEST_F(DialFiles, SvgIsInMillimetresWithTheRingAndTheLabelsAsText) {
  DialSettings settings;
  settings.mechanicalScale = true;
  const DialPicture picture = Dial({100000, Fitted::R1, 10000, 47000}, DialUnit::Percent, settings);
  const FileContents svg = DialSvg(picture);
  ASSERT_EQ(svg.problem, "");
  QXmlStreamReader xml(svg.data);
  double widthMm = 0, viewWidth = 0;
  std::map<std::pair<double, double>, std::vector<double>> circles;  // radii by centre
  QStringList texts;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QXmlStreamAttributes a = xml.attributes();
    if (xml.name() == u"svg") {
      ASSERT_TRUE(a.value("width").endsWith(u"mm"));
      widthMm = a.value("width").chopped(2).toDouble();
      viewWidth = a.value("viewBox").split(u' ').value(2).toDouble();
    } else if (xml.name() == u"circle") {
      circles[{a.value("cx").toDouble(), a.value("cy").toDouble()}].push_back(a.value("r").toDouble());
    } else if (xml.name() == u"text") {
      texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  ASSERT_GT(viewWidth, 0);
  const double mmPerUnit = widthMm / viewWidth;
  // One centre, two rings: the marks' (40 mm across the middle of its line)
  // and the inner scale's, each a black disc under a white one.
  ASSERT_EQ(circles.size(), 1u);
  std::vector<double> radii = circles.begin()->second;
  ASSERT_EQ(radii.size(), 4u);
  std::sort(radii.begin(), radii.end());
  EXPECT_NEAR((radii[2] + radii[3]) / 2 * 2 * mmPerUnit, 40, 0.01);
  EXPECT_LT(radii[1] * mmPerUnit, 20 * 0.8);
  for (const char* label : {"0 %", "50 %", "100 %", "10", "P1 100K, R1 10K, charge 47K"})
    EXPECT_TRUE(texts.contains(QString::fromUtf8(label))) << label;
}

TEST_F(DialFiles, PngIsAt300DpiWithTheRingAtTheDiameterAsked) {
  DialSettings settings;
  settings.rotationDegrees = 270;
  const DialPicture picture = Dial({100000, Fitted::R2, 10000, 47000}, DialUnit::Decibels, settings);
  const FileContents png = DialPng(picture);
  ASSERT_EQ(png.problem, "");
  const QImage image = QImage::fromData(png.data, "PNG");
  ASSERT_FALSE(image.isNull());
  EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 300, 0.01);
  EXPECT_NEAR(image.dotsPerMeterY() * 0.0254, 300, 0.01);
  const DialLayout layout = LayoutDial(picture);
  const double perMm = 300 / 25.4;
  EXPECT_NEAR(image.width(), layout.page.width() * perMm, 1);
  const Ring ring = MeasureRing(image, QPoint(int(std::lround(layout.centre.x() * perMm)),
                                              int(std::lround(layout.centre.y() * perMm))));
  EXPECT_NEAR(ring.across / perMm, 40, 0.2);
  EXPECT_NEAR(ring.down / perMm, 40, 0.2);
}

}  // namespace
}  // namespace dorvane::forms
