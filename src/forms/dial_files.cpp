#include "forms/dial_files.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

#include "core/decimal.h"
#include "gfx/canvas.h"

namespace dorvane::forms {
namespace {

// PDF and SVG are drawn in hundredths of a millimetre: the ticks' ends and
// the rings land within 0,005 mm of their place.
constexpr int kVectorDpi = 2540;
constexpr double kVectorUnitsPerMm = kVectorDpi / 25.4;

QString Title(const DialPicture& picture) {
  return QStringLiteral("Cadran %1").arg(picture.circuit);
}

// Black on white needs one grey byte a pixel: a quarter of the data to
// compress. Copied by hand: the toolkit's conversion goes through its colour
// space transform, which took half the time of the whole file.
QImage Grey(const QImage& rgb) {
  QImage grey(rgb.size(), QImage::Format_Grayscale8);
  if (grey.isNull()) return grey;
  grey.setDotsPerMeterX(rgb.dotsPerMeterX());
  grey.setDotsPerMeterY(rgb.dotsPerMeterY());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* to = grey.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) to[x] = uchar(qGray(from[x]));
  }
  return grey;
}

}  // namespace

QString DialCircuitCaption(const QString& p1, std::optional<Fitted> fitted, const QString& resistor,
                           const QString& load) {
  QString out = QStringLiteral("P1 %1").arg(p1.trimmed());
  if (fitted) out += QStringLiteral(", %1 %2").arg(*fitted == Fitted::R1 ? "R1" : "R2", resistor.trimmed());
  if (!load.trimmed().isEmpty()) out += QStringLiteral(", charge %1").arg(load.trimmed());
  return out;
}

QString DialSettingsProblem(const DialSettings& s, char separator) {
  const auto number = [separator](double v) {
    return QString::fromStdString(FormatDecimal(v, 0, separator));
  };
  if (!(s.rotationDegrees >= kDialRotationMin && s.rotationDegrees <= kDialRotationMax))
    return QString::fromUtf8("la rotation du bouton va de %1 à %2 degrés")
        .arg(number(kDialRotationMin), number(kDialRotationMax));
  if (!(s.diameterMm >= kDialDiameterMin && s.diameterMm <= kDialDiameterMax))
    return QString::fromUtf8("le diamètre du cadran va de %1 à %2 mm")
        .arg(number(kDialDiameterMin), number(kDialDiameterMax));
  return {};
}

QString DialMarkNames(std::span<const double> levels, DialUnit unit, char separator) {
  QStringList names;
  for (const double level : levels) names << QString::fromStdString(DialMarkLabel(level, unit, separator));
  if (names.size() < 2) return names.join(QString());
  const QString last = names.takeLast();
  return names.join(QStringLiteral(", ")) + QStringLiteral(" et ") + last;
}

QString UnreachedMarksNote(std::span<const double> levels, DialUnit unit, char separator) {
  if (levels.empty()) return {};
  const QString list = DialMarkNames(levels, unit, separator);
  return levels.size() == 1
             ? QString::fromUtf8("%1 n'est jamais atteint par la courbe : ce repère est laissé de côté.")
                   .arg(list)
             : QString::fromUtf8(
                   "%1 ne sont jamais atteints par la courbe : ces repères sont laissés de côté.")
                   .arg(list);
}

FileContents DialPng(const DialPicture& picture) {
  const DialLayout layout = LayoutDial(picture);
  const double unitsPerMm = kDialPngDpi / 25.4;
  QImage image(int(std::ceil(layout.page.width() * unitsPerMm)),
               int(std::ceil(layout.page.height() * unitsPerMm)), QImage::Format_RGB32);
  FileContents out;
  if (image.isNull()) {
    out.problem = QStringLiteral("l'image PNG n'a pas pu être produite");
    return out;
  }
  // The picture says its own resolution, so that it prints at true size.
  image.setDotsPerMeterX(int(std::lround(kDialPngDpi / 0.0254)));
  image.setDotsPerMeterY(image.dotsPerMeterX());
  image.fill(Qt::white);  // the page's last part of a pixel too
  {
    QPainter painter(&image);
    gfx::Canvas canvas(painter);
    DrawDial(canvas, picture, layout, unitsPerMm);
  }
  QBuffer buffer(&out.data);
  buffer.open(QIODevice::WriteOnly);
  if (!Grey(image).save(&buffer, "PNG")) {
    out.data.clear();
    out.problem = QStringLiteral("l'image PNG n'a pas pu être produite");
  }
  return out;
}

FileContents DialSvg(const DialPicture& picture) {
  const DialLayout layout = LayoutDial(picture);
  const QSize size(int(std::lround(layout.page.width() * kVectorUnitsPerMm)),
                   int(std::lround(layout.page.height() * kVectorUnitsPerMm)));
  FileContents out;
  QBuffer buffer(&out.data);
  buffer.open(QIODevice::WriteOnly);
  {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setTitle(Title(picture));
    // Width and height are written in millimetres from these two.
    generator.setSize(size);
    generator.setResolution(kVectorDpi);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    QPainter painter(&generator);
    if (painter.isActive()) {
      gfx::Canvas canvas(painter);
      DrawDial(canvas, picture, layout, kVectorUnitsPerMm);
    }
  }
  if (out.data.isEmpty()) out.problem = QStringLiteral("le dessin SVG n'a pas pu être produit");
  return out;
}

FileContents DialPdf(const DialPicture& picture) {
  const DialLayout layout = LayoutDial(picture);
  // The layout's page is whole points, as the writer keeps it.
  const QSizeF points(std::round(layout.page.width() * 72 / 25.4),
                      std::round(layout.page.height() * 72 / 25.4));
  FileContents out;
  QBuffer buffer(&out.data);
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Dorvane"));
    writer.setTitle(Title(picture));
    writer.setResolution(kVectorDpi);
    writer.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    if (painter.isActive()) {
      {
        gfx::Canvas canvas(painter);
        DrawDial(canvas, picture, layout, kVectorUnitsPerMm);
      }
      drawn = painter.end();
    }
  }
  if (!drawn) {
    out.data.clear();
    out.problem = QStringLiteral("la page PDF n'a pas pu être dessinée");
  }
  return out;
}

FileContents DialCsv(const DialPicture& picture) {
  return {QByteArray::fromStdString(DialMarksCsv(picture.marks, picture.unit, picture.separator)), {}};
}

FileContents DialFileContents(const DialPicture& picture, OutputType type) {
  if (const QString problem = DialSettingsProblem(picture.settings, picture.separator); !problem.isEmpty())
    return {{}, problem};
  switch (type) {
    case OutputType::Png:
      return DialPng(picture);
    case OutputType::Svg:
      return DialSvg(picture);
    case OutputType::Pdf:
      return DialPdf(picture);
    case OutputType::Csv:
      break;
  }
  return DialCsv(picture);
}

QString SaveDialFile(const DialPicture& picture, const QString& path, OutputType type) {
  // Nothing is made for a name that cannot be written.
  if (const QString problem = CreationProblem(path); !problem.isEmpty()) return problem;
  const FileContents contents = DialFileContents(picture, type);
  if (!contents.problem.isEmpty()) return contents.problem;
  return WriteFileAtomically(path, contents.data);
}

}  // namespace dorvane::forms
