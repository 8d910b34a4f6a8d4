#include "app/dial_command.h"

#include <cmath>

#include "core/decimal.h"
#include "core/dial.h"
#include "forms/dial_files.h"
#include "forms/notation_text.h"

namespace dorvane::app {
namespace {

using forms::Quoted;
using forms::QuotedFile;

DialOutcome Refused(const QString& refusal) {
  return {2, refusal, {}, {}};
}

QString Separator(char separator) {
  return Quoted(QChar::fromLatin1(separator));
}

}  // namespace

DialOutcome SaveDialFromCommandLine(const DialRequest& r) {
  const char separator = r.circuit.decimalSeparator;
  const std::optional<forms::OutputType> type = forms::OutputTypeOf(r.file);
  if (!type)
    return Refused(
        QStringLiteral("type de fichier inconnu pour %1 (.pdf, .svg, .png ou .csv)").arg(QuotedFile(r.file)));
  forms::DialSettings settings;
  settings.mechanicalScale = r.mechanicalScale;
  const struct {
    const std::optional<QString>& text;
    const char *option, *unit, *expected;
    double* into;
  } numbers[] = {
      {r.rotation, "--dial-rotation", "°", "un nombre de degrés de 180 à 340", &settings.rotationDegrees},
      {r.diameter, "--dial-diameter", "mm", "un nombre de millimètres de 20 à 100", &settings.diameterMm},
  };
  for (const auto& n : numbers) {
    if (!n.text) continue;
    *n.into = ReadDialNumber(n.text->toStdString(), separator, n.unit);
    if (std::isnan(*n.into) || !forms::DialSettingsProblem(settings, separator).isEmpty())
      return Refused(QString::fromUtf8("valeur incorrecte pour %1 : %2 (%3, séparateur décimal %4)")
                         .arg(Quoted(QString::fromUtf8(n.option)), Quoted(*n.text),
                              QString::fromUtf8(n.expected), Separator(separator)));
  }
  const DialUnit unit = r.decibels ? DialUnit::Decibels : DialUnit::Percent;
  std::vector<double> levels = DefaultDialMarks(unit);
  if (r.marks) {
    DialMarksReading reading = ReadDialMarks(r.marks->toStdString(), unit, separator);
    if (!reading.problem.empty())
      return Refused(QStringLiteral("valeur incorrecte pour %1 : %2 (%3 ; repères en %4 séparés par « ; », "
                                    "séparateur décimal %5)")
                         .arg(Quoted(QStringLiteral("--dial-marks")), Quoted(*r.marks),
                              QString::fromStdString(reading.problem),
                              r.decibels ? QStringLiteral("dB") : QStringLiteral("%"), Separator(separator)));
    levels = std::move(reading.levels);
  }
  if (r.circuit.lawIndex != 0)
    return Refused(
        QString::fromUtf8("la loi %1 de P1 n'a pas de courbe : le cadran se fait sur la loi linéaire "
                          "(--law 0)")
            .arg(r.circuit.lawIndex));

  const Circuit circuit = CircuitOf(r.circuit);
  const DialPlacement placed = PlaceDialMarks(circuit, levels, unit, settings.rotationDegrees);
  const QString notice = forms::UnreachedMarksNote(placed.unreached, unit, separator);
  if (placed.placed.empty())
    return Refused(QString::fromUtf8("aucun repère n'est atteint par la courbe (%1)")
                       .arg(forms::DialMarkNames(placed.unreached, unit, separator)));

  const std::string& resistor = circuit.fitted == Fitted::R1 ? r.circuit.r1Text : r.circuit.r2Text;
  const forms::DialPicture picture{
      placed.placed, unit, settings,
      forms::DialCircuitCaption(
          forms::FromNotationBytes(r.circuit.p1Text), circuit.fitted, forms::FromNotationBytes(resistor),
          std::isinf(circuit.loadOhms) ? QString() : forms::FromNotationBytes(r.loadText)),
      separator};
  DialOutcome out;
  out.notice = notice;
  out.failure = forms::SaveDialFile(picture, r.file, *type);
  out.status = out.failure.isEmpty() ? 0 : 1;
  return out;
}

}  // namespace dorvane::app
