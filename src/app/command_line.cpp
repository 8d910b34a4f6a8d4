#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <tuple>

#include "app/dial_command.h"
#include "chart/chart.h"
#include "core/decimal.h"
#include "core/load.h"
#include "core/main_window_state.h"
#include "core/resistance.h"
#include "forms/chart_files.h"
#include "forms/main_chart.h"
#include "forms/notation_text.h"
#include "forms/startup.h"
#include "forms/toolkit_workarounds.h"
#include "platform/console.h"
#include "platform/desktop.h"
#include "version/version_record.h"

namespace dorvane::app {
namespace {

constexpr int kOk = 0, kCannotWrite = 1, kBadUsage = 2;

constexpr char kHelp[] =
    "Usage : %1 [options]\n"
    "Montre comment la courbe d'un potentiomètre linéaire change quand une résistance R1 ou R2\n"
    "est ajoutée. Sans option, ouvre la fenêtre.\n"
    "\n"
    "Options :\n"
    "  -h, --help          Affiche cette aide.\n"
    "  -v, --version       Affiche la version.\n"
    "  --export FICHIER    Enregistre, sans fenêtre, le graphique (.png, .svg, .pdf) ou les\n"
    "                      valeurs des courbes (.csv) dans FICHIER, comme le menu Fichier.\n"
    "  --p1 VALEUR         Valeur de P1 (100K par défaut).\n"
    "  --r1 VALEUR         Ajoute R1 de cette valeur et retire R2.\n"
    "  --r2 VALEUR         Ajoute R2 de cette valeur (R2 = 10K par défaut).\n"
    "  --no-resistor       Ni R1 ni R2 : la piste seule, avec sa charge s'il y en a une.\n"
    "  --law INDICE        Loi de P1 : 0 Linéaire (par défaut), 1 Logarithmique,\n"
    "                      2 Anti-Logarithmique.\n"
    "  --db                Graphique en décibels (de 0 à -60 dB), comme « Échelle en décibels ».\n"
    "  --load VALEUR       Charge sur le curseur (l'entrée de l'étage suivant), comme\n"
    "                      « Charge et tolérances... » ; aucune par défaut.\n"
    "  --band              Ajoute la bande de tolérance, comme « Bande de tolérance ».\n"
    "  --p1-tol POURCENT   Tolérance de P1 pour la bande (± 20 % par défaut), avec --band.\n"
    "  --r-tol POURCENT    Tolérance de la résistance pour la bande (± 5 % par défaut), avec\n"
    "                      --band.\n"
    "  --dial FICHIER      Enregistre, sans fenêtre, le cadran du bouton pour la courbe\n"
    "                      modifiée (.pdf, .svg, .png, .csv), comme « Enregistrer le cadran\n"
    "                      sous... » ; avec --p1, --r1, --r2, --law, --load et --db.\n"
    "  --dial-rotation DEGRÉS\n"
    "                      Rotation du bouton, de 180 à 340 (300 par défaut).\n"
    "  --dial-diameter MM  Diamètre de l'anneau des repères, de 20 à 100 (40 par défaut).\n"
    "  --dial-marks \"LISTE\"\n"
    "                      Repères séparés par « ; », en dB avec --db, sinon en %.\n"
    "  --dial-scale        Ajoute l'échelle mécanique 0 à 10 sur un anneau intérieur.\n"
    "\n"
    "Les valeurs s'écrivent comme dans la fenêtre : %2\n"
    "(séparateur décimal de la langue de l'utilisateur : %3).\n"
    "Une valeur illisible ou nulle, un indice de loi autre que 0, 1 ou 2 sont refusés,\n"
    "comme une option donnée deux fois.\n"
    "Un repère que la courbe n'atteint jamais est laissé de côté et signalé.\n"
    "\n"
    "États de sortie : 0 réussite, 1 fichier impossible à écrire, 2 option ou valeur\n"
    "incorrecte, ou aucun repère atteint.\n";

void Print(std::FILE* to, const QString& text) {
  platform::WriteText(to, text.toUtf8().toStdString());
  std::fflush(to);
}

using forms::Quoted;

int BadUsage(const QString& message) {
  Print(stderr, QStringLiteral("%1 : %2.\nEssayez « %1 --help ».\n")
                    .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(), message));
  return kBadUsage;
}

// The parser's own messages are English; say the same in French.
QString ParseError(const QCommandLineParser& parser) {
  if (!parser.unknownOptionNames().isEmpty()) {
    const QString name = parser.unknownOptionNames().first();
    return QStringLiteral("option inconnue %1")
        .arg(Quoted(QLatin1String(name.size() == 1 ? "-" : "--") + name));
  }
  // The option is quoted in the parser's text, English or translated.
  static const QRegularExpression quoted(QStringLiteral("(?:'|\"|«\\s*|“)(-[^'\"»”\\s]*)"));
  const QRegularExpressionMatch m = quoted.match(parser.errorText());
  if (m.hasMatch()) return QStringLiteral("il manque une valeur après %1").arg(Quoted(m.captured(1)));
  return QStringLiteral("ligne de commande incorrecte");
}

// The parser reads "-help" as "-h -e -l -p" and would name "-e": a word
// after one dash is refused as typed, with its two-dash form when it has one.
struct LongOption {
  const char* name;
  bool takesValue;
};
constexpr LongOption kLongOptions[] = {
    {"help", false},        {"version", false},   {"export", true},        {"p1", true},
    {"r1", true},           {"r2", true},         {"law", true},           {"db", false},
    {"load", true},         {"band", false},      {"p1-tol", true},        {"r-tol", true},
    {"no-resistor", false}, {"dial", true},       {"dial-rotation", true}, {"dial-diameter", true},
    {"dial-marks", true},   {"dial-scale", false}};

QString SingleDashWord(const QStringList& args) {
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == u"--") break;
    const QString name = a.mid(a.startsWith(u"--") ? 2 : 1).section(u'=', 0, 0);
    const auto known = std::find_if(std::begin(kLongOptions), std::end(kLongOptions),
                                    [&](const LongOption& o) { return name == QLatin1String(o.name); });
    if (a.startsWith(u"--")) {
      if (known != std::end(kLongOptions) && known->takesValue && !a.contains(u'=')) ++i;  // its value
      continue;
    }
    if (!a.startsWith(u'-') || a.size() <= 2) continue;
    QString message = QStringLiteral("option inconnue %1").arg(Quoted(a.section(u'=', 0, 0)));
    if (known != std::end(kLongOptions))
      message += QStringLiteral(" (voulez-vous dire %1 ?)").arg(Quoted("--" + name));
    return message;
  }
  return {};
}

bool withoutWindow = false;  // the command line chose the off-screen platform

// An option as the messages name it: by its long name.
QString OptionName(const QCommandLineOption& option) {
  const QStringList names = option.names();
  const auto name = std::find_if(names.cbegin(), names.cend(), [](const QString& n) { return n.size() > 1; });
  return "--" + (name == names.cend() ? names.first() : *name);
}

QString WithSeparator(const char* number, char separator) {
  return QString::fromStdString(WithDecimalSeparator(number, separator));
}

// The status bar's examples, with the running locale's separator and French
// punctuation.
QString Examples(char separator) {
  QStringList out;
  for (const char* e : {"12", "11.3", "11U3", "68U", "120R", "470E", "12K8", "12.8K", "1M3"})
    out << WithSeparator(e, separator);
  return out.join(QStringLiteral(" ; "));
}

// A resistance given on the command line, read as the window reads it, but
// refused when unreadable or not above 0: a script wants an error, not a
// curve of zeros. The load is read as every window reads it, and here
// blanks alone are no value either.
std::optional<QString> ResistanceProblem(const QString& option, const QString& text, char separator) {
  const std::string bytes = forms::NotationBytes(text);
  const double ohms =
      option == u"--load" ? ReadLoadOhms(bytes, separator) : ParseWholeResistance(bytes, separator);
  if (ohms > 0 && std::isfinite(ohms)) return std::nullopt;
  return QStringLiteral(
             "valeur incorrecte pour %1 : %2 (une résistance de plus de 0 ohm, par exemple "
             "4K7 ou %3 ; le séparateur décimal est %4)")
      .arg(Quoted(option), Quoted(text), WithSeparator("4.7K", separator),
           Quoted(QChar::fromLatin1(separator)));
}

}  // namespace

void PrepareCommandLine(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  // The toolkit's own options ("-style fusion", "--reverse") and a bare "--"
  // still open the window; anything else is for the command line, which
  // either does it without a window or refuses it.
  bool ours = false;
  for (qsizetype i = 0; i < args.size() && !ours;) {
    if (args[i] == u"--") {
      ours = i + 1 < args.size();
      break;
    }
    const qsizetype n = forms::ToolkitArgumentCount(args, i);
    ours = n == 0;
    i += n;
  }
  if (!ours) return;
  withoutWindow = true;
  qputenv("QT_QPA_PLATFORM", platform::WindowlessPlatform());
  // No window, so the runtime folder is never used: the toolkit's notice
  // that it is unset would only clutter a script's output.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) forms::HideUnsetRuntimeFolderNotices();
}

int RunCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")}, {});
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
  const QCommandLineOption exportTo(QStringLiteral("export"), {}, QStringLiteral("FICHIER"));
  const QCommandLineOption p1(QStringLiteral("p1"), {}, QStringLiteral("VALEUR"));
  const QCommandLineOption r1(QStringLiteral("r1"), {}, QStringLiteral("VALEUR"));
  const QCommandLineOption r2(QStringLiteral("r2"), {}, QStringLiteral("VALEUR"));
  const QCommandLineOption law(QStringLiteral("law"), {}, QStringLiteral("INDICE"));
  const QCommandLineOption db(QStringLiteral("db"));
  const QCommandLineOption load(QStringLiteral("load"), {}, QStringLiteral("VALEUR"));
  const QCommandLineOption band(QStringLiteral("band"));
  const QCommandLineOption p1Tol(QStringLiteral("p1-tol"), {}, QStringLiteral("POURCENT"));
  const QCommandLineOption rTol(QStringLiteral("r-tol"), {}, QStringLiteral("POURCENT"));
  const QCommandLineOption noResistor(QStringLiteral("no-resistor"));
  const QCommandLineOption dial(QStringLiteral("dial"), {}, QStringLiteral("FICHIER"));
  const QCommandLineOption dialRotation(QStringLiteral("dial-rotation"), {}, QStringLiteral("DEGRÉS"));
  const QCommandLineOption dialDiameter(QStringLiteral("dial-diameter"), {}, QStringLiteral("MM"));
  const QCommandLineOption dialMarks(QStringLiteral("dial-marks"), {}, QStringLiteral("LISTE"));
  const QCommandLineOption dialScale(QStringLiteral("dial-scale"));
  const QList<QCommandLineOption> all = {
      help, version, exportTo, p1,         r1,   r2,           law,          db,        load,
      band, p1Tol,   rTol,     noResistor, dial, dialRotation, dialDiameter, dialMarks, dialScale};
  parser.addOptions(all);
  const char separator = forms::NumericDecimalSeparator();

  // What the toolkit left of its own options (the off-screen platform takes
  // fewer than the X11 one) is not ours to refuse.
  QStringList args = arguments.mid(0, 1);
  for (qsizetype i = 1; i < arguments.size();) {
    if (arguments[i] == u"--") {
      args += arguments.mid(i);
      break;
    }
    const qsizetype n = forms::ToolkitArgumentCount(arguments, i);
    // "dorvane /?" is the help, as Windows programs answer it.
    if (n == 0)
      args << (platform::IsHelpSwitch(arguments[i].toStdString()) ? QStringLiteral("--help") : arguments[i]);
    i += std::max<qsizetype>(n, 1);
  }
  if (const QString problem = SingleDashWord(args); !problem.isEmpty()) return BadUsage(problem);
  if (!parser.parse(args)) return BadUsage(ParseError(parser));
  if (!parser.positionalArguments().isEmpty())
    return BadUsage(
        QStringLiteral("argument inattendu %1").arg(Quoted(parser.positionalArguments().first())));
  // A repeat is a mistake whatever the option (which of two values, or a
  // switch turned on twice?), switches and aliases too.
  for (const QCommandLineOption& o : all) {
    const QStringList names = o.names();
    const auto given = std::count_if(parser.optionNames().cbegin(), parser.optionNames().cend(),
                                     [&](const QString& n) { return names.contains(n); });
    if (given > 1)
      return BadUsage(QStringLiteral("l'option %1 est donnée plusieurs fois").arg(Quoted(OptionName(o))));
  }
  if (parser.isSet(help)) {
    Print(stdout, QString::fromUtf8(kHelp).arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                                               Examples(separator), Quoted(QChar::fromLatin1(separator))));
    return kOk;
  }
  if (parser.isSet(version)) {
    const QString number = QString::fromStdU16String(version::LookupVersionString(u"ProductVersion"));
    Print(stdout, QStringLiteral("Dorvane %1\n").arg(number));
    return kOk;
  }
  if (!parser.isSet(dial))
    for (const auto* o : {&dialRotation, &dialDiameter, &dialMarks, &dialScale})
      if (parser.isSet(*o))
        return BadUsage(QStringLiteral("l'option %1 ne va qu'avec --dial").arg(Quoted(OptionName(*o))));
  if (parser.isSet(dial)) {
    if (parser.isSet(exportTo)) return BadUsage(QStringLiteral("--export et --dial s'excluent"));
    for (const auto* o : {&band, &p1Tol, &rTol})
      if (parser.isSet(*o))
        return BadUsage(QStringLiteral("l'option %1 ne va qu'avec --export").arg(Quoted(OptionName(*o))));
  } else if (!parser.isSet(exportTo)) {
    for (const auto* o : {&p1, &r1, &r2, &law, &db, &load, &band, &p1Tol, &rTol, &noResistor})
      if (parser.isSet(*o))
        return BadUsage(
            QStringLiteral("l'option %1 ne va qu'avec --export ou --dial").arg(Quoted(OptionName(*o))));
    // Never a window nobody can see, running for ever.
    if (withoutWindow) return BadUsage(QStringLiteral("rien à faire sans fenêtre"));
    return -1;
  }

  const QString file = parser.value(parser.isSet(dial) ? dial : exportTo);
  const std::optional<forms::OutputType> type = forms::OutputTypeOf(file);
  if (!type)
    return BadUsage(QStringLiteral("type de fichier inconnu pour %1 (.png, .svg, .pdf ou .csv)")
                        .arg(forms::QuotedFile(file)));
  if (parser.isSet(r1) && parser.isSet(r2)) return BadUsage(QStringLiteral("--r1 et --r2 s'excluent"));
  for (const auto* o : {&r1, &r2})
    if (parser.isSet(*o) && parser.isSet(noResistor))
      return BadUsage(QStringLiteral("%1 et --no-resistor s'excluent").arg(OptionName(*o)));
  // A tolerance is the band's: without it, it would change nothing.
  for (const auto* o : {&p1Tol, &rTol})
    if (parser.isSet(*o) && !parser.isSet(band))
      return BadUsage(QStringLiteral("l'option %1 ne va qu'avec --band (la tolérance ne sert qu'à la bande)")
                          .arg(Quoted(OptionName(*o))));
  int lawIndex = 0;
  if (parser.isSet(law)) {
    bool ok = false;
    lawIndex = parser.value(law).toInt(&ok);
    if (!ok || lawIndex < 0 || lawIndex > 2)
      return BadUsage(
          QStringLiteral("indice de loi incorrect %1 (0, 1 ou 2)").arg(Quoted(parser.value(law))));
  }
  for (const auto* o : {&p1, &r1, &r2, &load})
    if (parser.isSet(*o))
      if (const auto problem = ResistanceProblem(OptionName(*o), parser.value(*o), separator))
        return BadUsage(*problem);
  LoadSettings settings;
  settings.loadText = forms::NotationBytes(parser.value(load));
  for (const auto& [option, into, typed] :
       {std::tuple{&p1Tol, &settings.p1TolerancePercent, &settings.p1ToleranceText},
        std::tuple{&rTol, &settings.resistorTolerancePercent, &settings.resistorToleranceText}}) {
    if (!parser.isSet(*option)) continue;
    *typed = parser.value(*option).toStdString();
    *into = ReadTolerance(*typed, separator);
    if (std::isnan(*into))
      return BadUsage(QStringLiteral("tolérance incorrecte pour %1 : %2 (un pourcentage de 0 à moins de 100, "
                                     "séparateur décimal %3)")
                          .arg(Quoted(OptionName(*option)), Quoted(parser.value(*option)),
                               Quoted(QChar::fromLatin1(separator))));
  }

  // What the window holds as it opens, then the values asked for.
  MainWindowInputs in = OpeningInputs(separator);
  if (parser.isSet(law)) in.lawIndex = lawIndex;
  if (parser.isSet(p1)) in.p1Text = forms::NotationBytes(parser.value(p1));
  if (parser.isSet(r1))
    in.r1Text = forms::NotationBytes(parser.value(r1)), in.r1Ticked = true, in.r2Ticked = false;
  if (parser.isSet(r2))
    in.r2Text = forms::NotationBytes(parser.value(r2)), in.r2Ticked = true, in.r1Ticked = false;
  if (parser.isSet(noResistor)) in.r1Ticked = in.r2Ticked = false;
  ApplyLoadSettings(in, settings);
  in.band = parser.isSet(band);
  if (parser.isSet(dial)) {
    DialRequest request;
    request.file = file;
    request.circuit = in;
    request.loadText = settings.loadText;
    request.decibels = parser.isSet(db);
    for (const auto& [option, into] :
         {std::pair{&dialRotation, &request.rotation}, std::pair{&dialDiameter, &request.diameter},
          std::pair{&dialMarks, &request.marks}})
      if (parser.isSet(*option)) *into = parser.value(*option);
    request.mechanicalScale = parser.isSet(dialScale);
    const DialOutcome outcome = SaveDialFromCommandLine(request);
    if (outcome.status == kBadUsage) return BadUsage(outcome.refusal);
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (!outcome.notice.isEmpty()) Print(stderr, QStringLiteral("%1 : %2\n").arg(program, outcome.notice));
    if (outcome.status == kCannotWrite)
      Print(stderr,
            QStringLiteral("%1 : %2\n").arg(program, forms::SaveFailureMessage(file, outcome.failure)));
    return outcome.status;
  }

  chart::TChart chart;
  forms::ShowAsTheProgramChart(chart, in, parser.isSet(db));
  const CsvNotes notes = forms::ProgramFileNotes(in, {});

  const QString reason = forms::SaveProgramFile(chart, in, notes, file, *type);
  if (!reason.isEmpty()) {
    Print(stderr, QStringLiteral("%1 : %2\n")
                      .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                           forms::SaveFailureMessage(file, reason)));
    return kCannotWrite;
  }
  return kOk;
}

}  // namespace dorvane::app
