#include "forms/frm_load.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "controls/flat_edit.h"
#include "core/decimal.h"
#include "core/resistance.h"
#include "forms/notation_text.h"
#include "gfx/fonts.h"

namespace dorvane::forms {
namespace {

// As typed: a number rounded for the field could be one it refuses.
QString Tolerance(const std::string& typed, double percent, char separator) {
  return QString::fromStdString(ToleranceText(typed, percent, separator));
}

// Named when the other separator was typed.
QString SeparatorHint(const QString& typed, char separator) {
  const QChar other = QChar::fromLatin1(separator == ',' ? '.' : ',');
  if (!typed.contains(other)) return {};
  return QString::fromUtf8(" (le séparateur décimal est « %1 »)").arg(QChar::fromLatin1(separator));
}

}  // namespace

QString LoadProblem(const QString& typed, char decimalSeparator) {
  // Any blank around it, as the box shows it, not only those of Latin-1.
  if (!std::isnan(ReadLoadOhms(NotationBytes(typed.trimmed()), decimalSeparator))) return {};
  return QString::fromUtf8(
             "La charge « %1 » n'est pas une résistance de plus de 0 ohm (par exemple 47K ; "
             "vide pour aucune)%2.")
      .arg(typed.trimmed(), SeparatorHint(typed, decimalSeparator));
}

QString ToleranceProblem(const char* whose, const QString& typed, char decimalSeparator) {
  if (!std::isnan(ReadTolerance(typed.toStdString(), decimalSeparator))) return {};
  return QString::fromUtf8("La tolérance %1 doit être un nombre de 0 à moins de 100%2.")
      .arg(QString::fromUtf8(whose), SeparatorHint(typed, decimalSeparator));
}

TfmLoad::TfmLoad(QWidget* parent, const LoadSettings& settings, char decimalSeparator)
    : QDialog(parent), separator_(decimalSeparator), settings_(settings) {
  setWindowTitle(QString::fromUtf8("Charge et tolérances"));
  setFont(gfx::WindowFont());
  load_ = new QLineEdit(FromNotationBytes(settings.loadText), this);
  load_->setObjectName(QStringLiteral("edLoad"));
  load_->setPlaceholderText(QStringLiteral("aucune"));
  p1Tolerance_ =
      new QLineEdit(Tolerance(settings.p1ToleranceText, settings.p1TolerancePercent, separator_), this);
  p1Tolerance_->setObjectName(QStringLiteral("edP1Tolerance"));
  resistorTolerance_ = new QLineEdit(
      Tolerance(settings.resistorToleranceText, settings.resistorTolerancePercent, separator_), this);
  resistorTolerance_->setObjectName(QStringLiteral("edResistorTolerance"));
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("lblMessage"));
  message_->setWordWrap(true);

  auto* form = new QFormLayout;
  form->addRow(QString::fromUtf8("&Charge sur le curseur :"), load_);
  form->addRow(QString::fromUtf8("Tolérance de &P1 (± %) :"), p1Tolerance_);
  form->addRow(QString::fromUtf8("Tolérance de la &résistance (± %) :"), resistorTolerance_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
  connect(buttons, &QDialogButtonBox::accepted, this, &TfmLoad::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TfmLoad::reject);
  auto* column = new QVBoxLayout(this);
  column->addLayout(form);
  column->addWidget(message_);
  column->addWidget(buttons);
  column->setSizeConstraint(QLayout::SetFixedSize);
  message_->setMinimumWidth(form->sizeHint().width());
  message_->hide();
  controls::RefuseAltAndCtrlTyping(*this);
}

QString TfmLoad::Problem() const {
  QString problem = LoadProblem(load_->text(), separator_);
  if (problem.isEmpty()) problem = ToleranceProblem("de P1", p1Tolerance_->text(), separator_);
  if (problem.isEmpty())
    problem = ToleranceProblem("de la résistance", resistorTolerance_->text(), separator_);
  return problem;
}

void TfmLoad::accept() {
  if (const QString problem = Problem(); !problem.isEmpty()) {
    message_->setText(problem);
    message_->show();
    return;
  }
  settings_ = {
      NotationBytes(load_->text().trimmed()), ReadTolerance(p1Tolerance_->text().toStdString(), separator_),
      ReadTolerance(resistorTolerance_->text().toStdString(), separator_),
      p1Tolerance_->text().trimmed().toStdString(), resistorTolerance_->text().trimmed().toStdString()};
  QDialog::accept();
}

}  // namespace dorvane::forms
