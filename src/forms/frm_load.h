#pragma once
// "Charge et tolérances...": the load on the wiper (the next stage's input,
// in the notation, empty for none) and the parts' tolerances that the main
// window's curve, its band and the finder use.
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace dorvane::forms {

struct LoadSettings {
  QString loadText;  // as typed; empty: no load
  double p1TolerancePercent = 20, resistorTolerancePercent = 5;
  bool operator==(const LoadSettings&) const = default;
};

// The load in ohms (+infinity for none, or for a text that is not a value).
double LoadOhms(const LoadSettings& settings, char decimalSeparator);

// Why a typed load or tolerance cannot be taken, as every window says it
// (naming the decimal separator when the other one was typed); empty when
// it can. `whose`: "de P1" or "de la résistance".
QString LoadProblem(const QString& typed, char decimalSeparator);
QString ToleranceProblem(const char* whose, const QString& typed, char decimalSeparator);

// A number in percent as the user types it: digits, the locale's separator,
// a sign first, blanks and a "%" at the end; NaN for anything else.
double ReadTypedPercent(const QString& typed, char decimalSeparator);

// A tolerance as the user types it (the locale's separator, blanks and a
// "%" allowed): NaN when it is not a number from 0 to under 100.
double ReadTolerance(const QString& typed, char decimalSeparator);

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
