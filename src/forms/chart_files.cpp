#include "forms/chart_files.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "chart/chart.h"
#include "forms/frm_main.h"
#include "forms/notation_text.h"
#include "forms/toolkit_workarounds.h"
#include "platform/desktop.h"
#include "platform/file_names.h"

namespace dorvane::forms {

std::optional<OutputType> OutputTypeOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == u"png") return OutputType::Png;
  if (suffix == u"svg") return OutputType::Svg;
  if (suffix == u"pdf") return OutputType::Pdf;
  if (suffix == u"csv") return OutputType::Csv;
  return std::nullopt;
}

QString ExtensionOf(OutputType type) {
  switch (type) {
    case OutputType::Png:
      return QStringLiteral("png");
    case OutputType::Svg:
      return QStringLiteral("svg");
    case OutputType::Pdf:
      return QStringLiteral("pdf");
    case OutputType::Csv:
      break;
  }
  return QStringLiteral("csv");
}

namespace {

// A chart of no area would make an empty picture or a blank page.
QString EmptyChartProblem(const chart::TChart& chart) {
  if (chart.width() > 0 && chart.height() > 0) return {};
  return QStringLiteral("le graphique n'a pas de surface (%1 x %2 pixels)")
      .arg(chart.width())
      .arg(chart.height());
}

}  // namespace

FileContents ChartPng(chart::TChart& chart) {
  FileContents out{{}, EmptyChartProblem(chart)};
  if (!out.problem.isEmpty()) return out;
  QBuffer buffer(&out.data);
  buffer.open(QIODevice::WriteOnly);
  const QImage image = chart.ExportBitmap();
  if (image.isNull() || !image.save(&buffer, "PNG")) {
    out.data.clear();
    out.problem = QStringLiteral("l'image PNG n'a pas pu être produite");
  }
  return out;
}

FileContents ChartSvg(chart::TChart& chart) {
  FileContents out{{}, EmptyChartProblem(chart)};
  if (!out.problem.isEmpty()) return out;
  out.data = chart.ExportSvg();
  if (out.data.isEmpty()) out.problem = QStringLiteral("le dessin SVG n'a pas pu être produit");
  return out;
}

FileContents ChartPdf(chart::TChart& chart) {
  FileContents out{{}, EmptyChartProblem(chart)};
  if (!out.problem.isEmpty()) return out;
  const QSize size = chart.size();
  const QSizeF points(size.width() * 72.0 / 96, size.height() * 72.0 / 96);
  QBuffer buffer(&out.data);
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Dorvane"));
    writer.setTitle(chart.Title()->TextLines().join(u' '));
    // One device unit per screen pixel, and a page of exactly the chart.
    writer.setResolution(96);
    writer.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    if (painter.isActive()) {
      {
        gfx::Canvas canvas(painter);
        chart.DrawToCanvas(canvas, {0, 0, size.width(), size.height()});
      }
      drawn = painter.end();
    }
  }
  if (!drawn) {
    out.data.clear();
    out.problem = QStringLiteral("la page PDF n'a pas pu être dessinée");
  } else if (!SetPdfPageBox(out.data, points)) {
    // A page of the wrong size must not pass for a good one.
    out.data.clear();
    out.problem = QStringLiteral("la taille de la page PDF n'a pas pu être fixée");
  }
  return out;
}

CsvNotes ProgramFileNotes(const MainWindowInputs& in, const std::vector<PinnedCurve>& pinned) {
  return {ModifiedCircuitName(in), BandTolerancesOf(in), pinned};
}

FileContents ProgramFileContents(chart::TChart& chart, const MainWindowInputs& in, const CsvNotes& notes,
                                 OutputType type) {
  switch (type) {
    case OutputType::Png:
      return ChartPng(chart);
    case OutputType::Svg:
      return ChartSvg(chart);
    case OutputType::Pdf:
      return ChartPdf(chart);
    case OutputType::Csv:
      break;
  }
  return {QByteArray::fromStdString(
              CurvesCsv(ComputePlot(in).curves, in.decimalSeparator, notes, platform::ListSeparator())),
          {}};
}

FileContents WindowFileContents(TfmMain& window, OutputType type) {
  return ProgramFileContents(window.Chart(), window.Inputs(), window.FileNotes(), type);
}

QString Quoted(const QString& text) {
  return QStringLiteral("« %1 »").arg(text);
}

QString QuotedFile(const QString& path) {
  return Quoted(QDir::toNativeSeparators(path));
}

namespace {

bool IsDiskFull(int error) {
#ifdef EDQUOT
  if (error == EDQUOT) return true;
#endif
  return error == ENOSPC;
}

// Why a file could not be created there, found from the file system and
// the error the creation met (0 when unknown).
QString OpenFailure(const QFileInfo& target, int error, const QString& qtReason) {
  if (target.isDir()) return QStringLiteral("ce nom est celui d'un dossier");
  if (target.exists() && !target.isFile())
    return QStringLiteral("ce nom n'est pas celui d'un fichier ordinaire");
  if (target.exists() && !target.isWritable()) return QStringLiteral("le fichier est protégé en écriture");
  // The nearest part of the path that exists tells what is wrong with it.
  QFileInfo folder(target.absolutePath());
  while (!folder.exists() && folder.absoluteFilePath() != folder.absolutePath())
    folder = QFileInfo(folder.absolutePath());
  if (folder.absoluteFilePath() != target.absolutePath()) {
    if (folder.exists() && !folder.isDir())
      return QStringLiteral("%1 n'est pas un dossier").arg(QuotedFile(folder.absoluteFilePath()));
    return QStringLiteral("le dossier %1 n'existe pas").arg(QuotedFile(target.absolutePath()));
  }
  const QString where = QuotedFile(folder.absoluteFilePath());
  if (!folder.isDir()) return QStringLiteral("%1 n'est pas un dossier").arg(where);
  if (IsDiskFull(error)) return QStringLiteral("le disque est plein");
  if (error == EROFS) return QStringLiteral("le dossier %1 est en lecture seule").arg(where);
  if (!folder.isWritable() || error == EACCES || error == EPERM)
    return QStringLiteral("le dossier %1 n'est pas accessible en écriture").arg(where);
  // A folder that is there but makes no files (/proc) says "no such file".
  if (error == ENOENT) return QStringLiteral("le dossier %1 n'accepte pas de nouveau fichier").arg(where);
  return QStringLiteral("le fichier ne peut pas être créé (%1)").arg(qtReason);
}

// The longest name the folder (or the nearest one that exists) takes.
long MaxNameBytes(const QFileInfo& target) {
  QFileInfo folder(target.absolutePath());
  while (!folder.exists() && folder.absoluteFilePath() != folder.absolutePath())
    folder = QFileInfo(folder.absolutePath());
  return platform::MaxFileNameBytes(folder.absoluteFilePath());
}

QString WriteFailure(int error, const QFileDevice& file, const QString& reason) {
  // The toolkit tells a full disk by its own code too, should errno be lost.
  if (IsDiskFull(error) || file.error() == QFileDevice::ResourceError)
    return QStringLiteral("le disque est plein");
  return QStringLiteral("erreur d'écriture (%1)").arg(reason);
}

}  // namespace

QString TargetProblem(const QString& path) {
  const QFileInfo target(path);
  // The new file would take the place of a folder, a device or a pipe of
  // that name.
  if (path.isEmpty() || (target.exists() && !target.isFile())) return OpenFailure(target, 0, {});
  const qsizetype bytes = QFile::encodeName(target.fileName()).size();
  const long max = MaxNameBytes(target);
  if (bytes > max)
    return QStringLiteral("le nom est trop long (%1 octets, le dossier en accepte %2 au plus)")
        .arg(bytes)
        .arg(max);
  return {};
}

QString CreationProblem(const QString& path) {
  if (const QString problem = TargetProblem(path); !problem.isEmpty()) return problem;
  // The save's own first step, undone at once: its new file beside the target.
  QSaveFile trial(path);
  errno = 0;
  if (!trial.open(QIODevice::WriteOnly)) {
    const int error = errno;
    return OpenFailure(QFileInfo(path), error, trial.errorString());
  }
  trial.cancelWriting();
  return {};
}

QString WriteFileAtomically(const QString& path, const QByteArray& data) {
  if (const QString problem = TargetProblem(path); !problem.isEmpty()) return problem;
  QSaveFile file(path);
  // Unbuffered, so that every write meets the disk here and its failure is
  // seen: through the toolkit's buffer a small file first met it in
  // commit(), which replaced the old file by an empty one on a full disk.
  errno = 0;
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    const int error = errno;
    return OpenFailure(QFileInfo(path), error, file.errorString());
  }
  for (qint64 done = 0; done < data.size();) {
    errno = 0;
    const qint64 written = file.write(data.constData() + done, data.size() - done);
    if (written <= 0) {
      // A short write says nothing; the next one fails with the reason.
      const int error = errno;
      const QString reason = WriteFailure(error, file, file.errorString());
      file.cancelWriting();
      return reason;
    }
    done += written;
  }
  if (const int error = platform::SyncToDisk(file); error != 0) {
    const QString reason = WriteFailure(error, file, QString::fromLocal8Bit(std::strerror(error)));
    file.cancelWriting();
    return reason;
  }
  errno = 0;
  if (!file.commit()) {
    const int error = errno;
    return WriteFailure(error, file, file.errorString());
  }
  return {};
}

QString SaveProgramFile(chart::TChart& chart, const MainWindowInputs& in, const CsvNotes& notes,
                        const QString& path, OutputType type) {
  // Nothing is made for a name that cannot be written.
  if (const QString problem = CreationProblem(path); !problem.isEmpty()) return problem;
  const FileContents contents = ProgramFileContents(chart, in, notes, type);
  if (!contents.problem.isEmpty()) return contents.problem;
  return WriteFileAtomically(path, contents.data);
}

QString SaveWindowFile(TfmMain& window, const QString& path, OutputType type) {
  return SaveProgramFile(window.Chart(), window.Inputs(), window.FileNotes(), path, type);
}

QString SaveFailureMessage(const QString& path, const QString& reason) {
  return QStringLiteral("Le fichier %1 n'a pas pu être enregistré : %2.").arg(QuotedFile(path), reason);
}

}  // namespace dorvane::forms
