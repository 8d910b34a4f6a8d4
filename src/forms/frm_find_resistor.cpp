#include "forms/frm_find_resistor.h"

#include <QPushButton>
#include <QSignalBlocker>
#include <charconv>
#include <cmath>
#include <limits>

#include "controls/flat_edit.h"
#include "controls/markup_check_box.h"
#include "core/curves.h"
#include "core/resistance.h"
#include "forms/frm_main.h"
#include "gfx/fonts.h"
#include "ui_frm_find_resistor.h"
#include "ui_frm_main.h"

namespace dorvane::forms {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kPerSide = 3;

QString FromLatin1(const std::string& text) {
  return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

// A number with `decimals` decimals and the locale's separator; `trim` drops
// the zeros that end the decimals.
QString Decimal(double value, int decimals, bool trim, char separator) {
  QString text = QString::number(value, 'f', decimals);
  if (trim && text.contains(u'.')) {
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
  }
  return text.replace(u'.', QChar(separator));
}

// A standard value as the list shows it: the notation's display with the
// decimals it needs ("6,2K", "1,02K", "10,0K").
QString ValueCaption(double ohms, char separator) {
  QString unit = QStringLiteral("U");
  double q = ohms;
  if (ohms >= 1e6) {
    unit = QStringLiteral("M"), q = ohms / 1e6;
  } else if (ohms >= 1e3) {
    unit = QStringLiteral("K"), q = ohms / 1e3;
  }
  QString text = QString::number(q, 'f', 2);
  if (text.endsWith(u'0')) text.chop(1);
  return text.replace(u'.', QChar(separator)) + unit;
}

// Whole ohms grouped by thousands ("6 250 Ω"); small values keep decimals.
QString Ohms(double ohms, char separator) {
  const QString omega = QString::fromUtf8(" Ω");
  if (ohms >= 1e15) return QString::number(ohms, 'g', 4).replace(u'.', QChar(separator)) + omega;
  if (ohms < 100) return Decimal(ohms, 2, true, separator) + omega;
  const QString digits = QString::number(std::llround(ohms));
  QString grouped;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += u' ';
    grouped += digits[i];
  }
  return grouped + omega;
}

}  // namespace

TfmFindResistor::TfmFindResistor(QWidget* parent, const QString& p1Text, char decimalSeparator,
                                 Fitted montage)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TfmFindResistor>()),
      separator_(decimalSeparator),
      p1_(ParseResistance(p1Text.toLatin1().toStdString(), decimalSeparator)) {
  ui_->setupUi(this);
  setFont(gfx::WindowFont());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  // The message takes the list's place: the same room, so the window keeps
  // its size. The room is what the header and the rows need, no more, so
  // that the dialog fits a 640 x 480 screen.
  {
    const auto sample =
        std::make_unique<QTreeWidgetItem>(ui_->lstValues, QStringList{QStringLiteral("8,2K")});
    const int row = ui_->lstValues->sizeHintForRow(0);
    ui_->stkResults->setFixedHeight(ui_->lstValues->header()->sizeHint().height() + 2 * kPerSide * row +
                                    2 * ui_->lstValues->frameWidth());
  }
  ui_->lstValues->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

  (montage == Fitted::R1 ? ui_->rbR1 : ui_->rbR2)->setChecked(true);
  ui_->edPosition->setText(Decimal(50, 0, true, separator_));
  ui_->lblP1->setText(FromLatin1(FormatResistance(p1_, separator_)));

  connect(ui_->rbR1, &QRadioButton::toggled, this, &TfmFindResistor::MontageChanged);
  connect(ui_->edPosition, &QLineEdit::textChanged, this, &TfmFindResistor::PositionChanged);
  connect(ui_->edWanted, &QLineEdit::textEdited, this, [this] { wantedFollowsLaw_ = false; });
  connect(ui_->edWanted, &QLineEdit::textChanged, this, &TfmFindResistor::Recompute);
  connect(ui_->cbSeries, &QComboBox::currentIndexChanged, this, &TfmFindResistor::Recompute);
  connect(ui_->lstValues, &QTreeWidget::itemSelectionChanged, this,
          [this] { ui_->btnApply->setEnabled(ChosenValue().has_value()); });
  connect(ui_->lstValues, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    ui_->lstValues->setCurrentItem(item);
    accept();
  });
  connect(ui_->btnApply, &QPushButton::clicked, this, [this] {
    if (ChosenValue()) accept();
  });
  PositionChanged();
}

TfmFindResistor::~TfmFindResistor() = default;

Fitted TfmFindResistor::Montage() const {
  return ui_->rbR1->isChecked() ? Fitted::R1 : Fitted::R2;
}

std::optional<double> TfmFindResistor::ChosenValue() const {
  if (ui_->stkResults->currentWidget() != ui_->lstValues) return std::nullopt;
  const QList<QTreeWidgetItem*> selected = ui_->lstValues->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return selected.front()->data(0, Qt::UserRole).toDouble();
}

// A percentage as typed: digits with at most one locale decimal separator,
// an optional sign and an optional "%" after it; NaN for anything else.
double TfmFindResistor::ReadPercent(const QString& typed) const {
  QString text = typed.trimmed();
  if (text.endsWith(u'%')) text = text.chopped(1).trimmed();
  std::string number;
  bool digit = false, separator = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isDigit() && c.unicode() < 128) {
      digit = true;
      number += char(c.unicode());
    } else if (c == QChar(separator_) && !separator) {
      separator = true;
      number += '.';
    } else if ((c == u'-' || c == u'+') && i == 0) {
      if (c == u'-') number += '-';
    } else {
      return kNaN;
    }
  }
  if (!digit) return kNaN;
  double value = kNaN;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  return ec == std::errc() && end == number.data() + number.size() ? value : kNaN;
}

QString TfmFindResistor::Percent(double value, int decimals) const {
  return Decimal(value, decimals, false, separator_);
}

void TfmFindResistor::MontageChanged() {
  // Only the button that becomes checked reports; one update per change.
  PositionChanged();
}

void TfmFindResistor::PositionChanged() {
  const double position = ReadPercent(ui_->edPosition->text());
  if (wantedFollowsLaw_ && std::isfinite(position) && position >= 0 && position <= 100) {
    const QSignalBlocker quiet(ui_->edWanted);
    ui_->edWanted->setText(Decimal(IdealLawPercent(Montage(), position), 2, true, separator_));
  }
  Recompute();
}

void TfmFindResistor::ShowMessage(const QString& message) {
  ui_->lstValues->clear();
  ui_->lblMessage->setText(message);
  ui_->stkResults->setCurrentWidget(ui_->lblMessage);
  ui_->btnApply->setEnabled(false);
}

void TfmFindResistor::Recompute() {
  const Fitted which = Montage();
  const double position = ReadPercent(ui_->edPosition->text());
  const double wanted = ReadPercent(ui_->edWanted->text());
  const double exact = SolveFittedResistor(which, p1_, position, wanted);
  ui_->lblExact->setText(std::isnan(exact)
                             ? QStringLiteral("-")
                             : QStringLiteral("%1 (%2)").arg(FromLatin1(FormatResistance(exact, separator_)),
                                                             Ohms(exact, separator_)));
  if (std::isnan(exact)) {
    const QString at = Decimal(position, 2, true, separator_);
    if (!(p1_ > 0) || !std::isfinite(p1_))
      ShowMessage(
          QString::fromUtf8("P1 n'a pas de valeur utilisable : saisissez-la dans la fenêtre "
                            "principale (par exemple 100K)."));
    else if (std::isnan(position))
      ShowMessage(QString::fromUtf8("La position du curseur n'est pas un nombre."));
    else if (std::isnan(wanted))
      ShowMessage(QString::fromUtf8("La valeur voulue n'est pas un nombre."));
    else if (!(position > 0 && position < 100))
      ShowMessage(
          QString::fromUtf8("La position doit être comprise entre 0 et 100 %, bornes exclues : aux "
                            "extrémités de la course, aucune résistance ne change la courbe."));
    else if (which == Fitted::R2)
      ShowMessage(QString::fromUtf8("Aucune résistance R2 ne donne cette valeur : R2 ne peut qu'abaisser la "
                                    "courbe. À %1 % de la course, choisissez une valeur comprise entre 0 et "
                                    "%1 %, bornes exclues.")
                      .arg(at));
    else if (!(wanted > position && wanted < 100))
      ShowMessage(QString::fromUtf8("Aucune résistance R1 ne donne cette valeur : R1 ne peut que relever la "
                                    "courbe. À %1 % de la course, choisissez une valeur comprise entre %1 et "
                                    "100 %, bornes exclues.")
                      .arg(at));
    else
      ShowMessage(
          QString::fromUtf8("Aucune résistance ne donne cette valeur : elle serait trop grande pour "
                            "être calculée."));
    return;
  }

  const int index = std::clamp(ui_->cbSeries->currentIndex(), 0, int(ESeries::E192));
  const std::vector<double> values = NearestStandardValues(ESeries(index), exact, kPerSide);
  const bool r1 = which == Fitted::R1;
  const QString at = Decimal(position, 2, true, separator_);
  const QSignalBlocker quiet(ui_->lstValues);
  ui_->lstValues->clear();
  QTreeWidgetItem* closest = nullptr;
  double closestDistance = std::numeric_limits<double>::infinity();
  for (double v : values) {
    const double y = LoadedPercentAt(position / 100, p1_, v, v, r1, !r1);
    const double gap = LargestGapToIdealLaw(which, p1_, v);
    auto* item = new QTreeWidgetItem(
        ui_->lstValues, {ValueCaption(v, separator_), QStringLiteral("%1 % à %2 %").arg(Percent(y, 1), at),
                         QStringLiteral("%1 points").arg(Percent(gap, 1))});
    item->setData(0, Qt::UserRole, v);
    if (std::abs(y - wanted) < closestDistance) closestDistance = std::abs(y - wanted), closest = item;
  }
  ui_->lstValues->setCurrentItem(closest);
  ui_->stkResults->setCurrentWidget(ui_->lstValues);
  ui_->btnApply->setEnabled(ChosenValue().has_value());
}

void ApplyFittedResistor(TfmMain& window, Fitted which, double ohms) {
  Ui::TfmMain& ui = window.controls();
  controls::TFlatEdit* edit = which == Fitted::R1 ? ui.edR1 : ui.edR2;
  controls::TMarkupCheckBox* box = which == Fitted::R1 ? ui.cbR1 : ui.cbR2;
  edit->setText(FromLatin1(StandardValueText(ohms, window.DecimalSeparator())));
  // A click flips the mark, then reports: the update rule unticks the other
  // box. A box already ticked stays so; the new text already ran the rule.
  if (!box->Checked()) {
    box->Toggle();
    emit box->OnClick();
  }
}

void FindResistor(TfmMain& window) {
  Ui::TfmMain& ui = window.controls();
  TfmFindResistor dialog(&window, ui.edP1->text(), window.DecimalSeparator(),
                         ui.cbR1->Checked() ? Fitted::R1 : Fitted::R2);
  if (dialog.exec() != QDialog::Accepted) return;
  if (const std::optional<double> value = dialog.ChosenValue())
    ApplyFittedResistor(window, dialog.Montage(), *value);
}

}  // namespace dorvane::forms
