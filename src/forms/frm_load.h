#pragma once
// "Charge et tolérances...": the dialog that sets the load on the wiper (the
// next stage's input, in the notation, empty for none) and the parts'
// tolerances.
#include <QDialog>
#include <QString>

#include "core/load.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace dorvane::forms {

// Why a typed load or tolerance cannot be taken, as every window says it
// (naming the decimal separator when the other one was typed); empty when
// it can. `whose`: "de P1" or "de la résistance".
QString LoadProblem(const QString& typed, char decimalSeparator);
QString ToleranceProblem(const char* whose, const QString& typed, char decimalSeparator);

class TfmLoad : public QDialog {
  Q_OBJECT

 public:
  TfmLoad(QWidget* parent, const LoadSettings& settings, char decimalSeparator);

  // What the fields hold once "OK" accepted them.
  LoadSettings Settings() const { return settings_; }

  QLineEdit* LoadField() const { return load_; }
  QLineEdit* P1ToleranceField() const { return p1Tolerance_; }
  QLineEdit* ResistorToleranceField() const { return resistorTolerance_; }
  QLabel* Message() const { return message_; }

  void accept() override;

 private:
  // Why the fields cannot be taken, or an empty string.
  QString Problem() const;

  char separator_;
  LoadSettings settings_;
  QLineEdit* load_;
  QLineEdit* p1Tolerance_;
  QLineEdit* resistorTolerance_;
  QLabel* message_;
};

}  // namespace dorvane::forms
