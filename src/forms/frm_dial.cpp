#include "forms/frm_dial.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "controls/flat_edit.h"
#include "core/decimal.h"
#include "core/main_window_state.h"
#include "forms/dial_files.h"
#include "forms/frm_main.h"
#include "forms/notation_text.h"
#include "forms/save_dialogs.h"
#include "gfx/fonts.h"
#include "ui_frm_dial.h"

namespace dorvane::forms {
namespace {

// What the dialog held when a dial was last saved, for the next one.
struct Kept {
  DialSettings settings;
  QString marks[2];  // per unit: percent, dB
};
std::optional<Kept> kept;

QString Number(double value, char separator) {
  return QString::fromStdString(FormatDecimal(value, 2, separator, true));
}

}  // namespace

DialSource DialSourceOf(TfmMain& window) {
  const MainWindowInputs in = window.Inputs();
  const char sep = window.DecimalSeparator();
  DialSource s;
  s.circuit = CircuitOf(in);
  s.linearLaw = in.lawIndex == 0;
  const char* laws[] = {"Linéaire", "Logarithmique", "Anti-Logarithmique"};
  s.lawName = in.lawIndex >= 0 && in.lawIndex < 3 ? QString::fromUtf8(laws[in.lawIndex]) : QString();
  const TfmMain::BoxCircuit boxes = window.CircuitInBoxes();
  const QString resistor = s.circuit.fitted == Fitted::R1 ? boxes.r1 : boxes.r2;
  s.circuitCaption =
      DialCircuitCaption(boxes.p1, s.circuit.fitted, resistor,
                         std::isinf(in.loadOhms) ? QString() : FromNotationBytes(window.Load().loadText));
  s.unit = window.Decibels() ? DialUnit::Decibels : DialUnit::Percent;
  s.separator = sep;
  return s;
}

TfmDial::TfmDial(QWidget* parent, const DialSource& source, const DialSettings& settings,
                 const QString& marksText)
    : QDialog(parent), ui_(std::make_unique<Ui::TfmDial>()), source_(source) {
  ui_->setupUi(this);
  setFont(gfx::WindowFont());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  controls::RefuseAltAndCtrlTyping(*this);
  const bool db = source_.unit == DialUnit::Decibels;
  ui_->lblMarks->setText(QString::fromUtf8("Repère&s en %1 (séparés par « ; ») :")
                             .arg(db ? QStringLiteral("dB") : QStringLiteral("%")));
  // Room for the default list, and for a message of a few lines under it:
  // the dialog keeps its size whatever the message.
  const int column = ui_->edMarks->fontMetrics().horizontalAdvance(
                         QStringLiteral("0; -3; -6; -10; -15; -20; -25; -30; -40; -50; -60")) +
                     16;
  ui_->edMarks->setFixedWidth(column);
  ui_->lblMessage->setFixedSize(column, 6 * ui_->lblMessage->fontMetrics().lineSpacing());

  ui_->edRotation->setText(Number(settings.rotationDegrees, source_.separator));
  ui_->edDiameter->setText(Number(settings.diameterMm, source_.separator));
  ui_->edMarks->setText(marksText.isEmpty() ? QString::fromStdString(DialMarksText(
                                                  DefaultDialMarks(source_.unit), source_.separator))
                                            : marksText);
  ui_->cbScale->setChecked(settings.mechanicalScale);

  for (QLineEdit* edit : {ui_->edRotation, ui_->edDiameter, ui_->edMarks})
    connect(edit, &QLineEdit::textChanged, this, &TfmDial::Update);
  connect(ui_->cbScale, &QCheckBox::toggled, this, &TfmDial::Update);
  connect(ui_->btnSave, &QPushButton::clicked, this, &TfmDial::Save);
  Update();
}

TfmDial::~TfmDial() = default;

DialSettings TfmDial::Settings() const {
  DialSettings s;
  s.rotationDegrees = ReadDialNumber(ui_->edRotation->text().toStdString(), source_.separator, "°");
  s.diameterMm = ReadDialNumber(ui_->edDiameter->text().toStdString(), source_.separator, "mm");
  s.mechanicalScale = ui_->cbScale->isChecked();
  return s;
}

std::optional<DialPicture> TfmDial::Picture(QString* problem) const {
  QString ignored;
  QString& why = problem ? *problem : ignored;
  const char sep = source_.separator;
  const QString hint = QString::fromUtf8(" (le séparateur décimal est « %1 »)").arg(QChar::fromLatin1(sep));
  const QChar other = QChar::fromLatin1(sep == ',' ? '.' : ',');
  const DialSettings s = Settings();
  if (!source_.linearLaw) {
    why = QString::fromUtf8("La loi « %1 » de P1 n'a pas de courbe : le cadran se fait sur la loi linéaire.")
              .arg(source_.lawName);
    return std::nullopt;
  }
  if (!HasDialCurve(source_.circuit)) {
    why = QString::fromUtf8(
        "Le montage n'a pas de courbe : P1, la résistance ajoutée et la charge doivent valoir plus de 0 Ω "
        "dans la fenêtre principale.");
    return std::nullopt;
  }
  const struct {
    QLineEdit* field;
    double value;
    const char* name;
  } numbers[] = {{ui_->edRotation, s.rotationDegrees, "La rotation du bouton"},
                 {ui_->edDiameter, s.diameterMm, "Le diamètre du cadran"}};
  for (const auto& n : numbers) {
    if (std::isnan(n.value)) {
      why = QString::fromUtf8("%1 n'est pas un nombre%2.")
                .arg(QString::fromUtf8(n.name), n.field->text().contains(other) ? hint : QString());
      return std::nullopt;
    }
  }
  if (const QString range = DialSettingsProblem(s, sep); !range.isEmpty()) {
    why = range.left(1).toUpper() + range.mid(1) + u'.';
    return std::nullopt;
  }
  const DialMarksReading marks = ReadDialMarks(ui_->edMarks->text().toStdString(), source_.unit, sep);
  if (!marks.problem.empty()) {
    why = QString::fromUtf8("Repères : %1.").arg(QString::fromStdString(marks.problem));
    return std::nullopt;
  }
  const DialPlacement placed = PlaceDialMarks(source_.circuit, marks.levels, source_.unit, s.rotationDegrees);
  if (placed.placed.empty()) {
    why = QString::fromUtf8("Aucun repère n'est atteint par la courbe (%1).")
              .arg(DialMarkNames(placed.unreached, source_.unit, sep));
    return std::nullopt;
  }
  why = UnreachedMarksNote(placed.unreached, source_.unit, sep);
  return DialPicture{placed.placed, source_.unit, s, source_.circuitCaption, sep};
}

void TfmDial::Update() {
  QString message;
  const std::optional<DialPicture> picture = Picture(&message);
  ui_->lblMessage->setText(message);
  ui_->btnSave->setEnabled(picture.has_value());
  ui_->pvDial->SetPicture(picture);
}

void TfmDial::Save() {
  const std::optional<DialPicture> picture = Picture();
  if (!picture) return;
  const QStringList filters = {QStringLiteral("Document PDF (*.pdf)"), QStringLiteral("Image SVG (*.svg)"),
                               QStringLiteral("Image PNG (*.png)"), QString::fromUtf8("Repères CSV (*.csv)")};
  const std::optional<ChosenFile> file = AskForSaveFile(*this, QStringLiteral("Enregistrer le cadran sous"),
                                                        QStringLiteral("cadran.pdf"), filters, DialFileFor);
  if (!file) return;
  if (const QString reason = SaveDialFile(*picture, file->path, file->type); !reason.isEmpty()) {
    ShowSaveWarning(this, SaveFailureMessage(file->path, reason));
    return;
  }
  RememberSaveFolder(file->path);
  Kept k = kept.value_or(Kept{});
  k.settings = picture->settings;
  k.marks[source_.unit == DialUnit::Decibels] = ui_->edMarks->text();
  kept = k;
  accept();
}

void SaveDialAs(TfmMain& window) {
  const DialSource source = DialSourceOf(window);
  const Kept k = kept.value_or(Kept{});
  TfmDial dialog(&window, source, k.settings, k.marks[source.unit == DialUnit::Decibels]);
  dialog.exec();
}

}  // namespace dorvane::forms
