#pragma once
// "Trouver la résistance": from the taper the user wants to the standard
// resistor to fit across P1, in the circuit it goes into (the load on the
// wiper, the parts' tolerances), and how closely it follows the target.
#include <QDialog>
#include <memory>
#include <optional>

#include "core/finder.h"
#include "forms/frm_load.h"

namespace Ui {
class TfmFindResistor;
}

namespace dorvane::forms {

class TfmMain;

class TfmFindResistor : public QDialog {
  Q_OBJECT

 public:
  // p1Text: the main window's P1 box as typed; the montage preset; decibels:
  // the preview's vertical scale, as the main window shows its chart.
  TfmFindResistor(QWidget* parent, const QString& p1Text, char decimalSeparator, Fitted montage,
                  bool decibels = false);
  ~TfmFindResistor() override;

  Fitted Montage() const;
  // The load and the tolerances, as the main window holds them: the dialog
  // opens with them, and "Appliquer" takes the dialog's back. A resistor
  // tolerance other than the series' stops following the series. None
  // while a field does not read.
  void SetLoadSettings(const LoadSettings& settings);
  std::optional<LoadSettings> ReadLoadSettings() const;
  // The standard value of the selected row; none while no row is selected.
  std::optional<double> ChosenValue() const;

 private slots:
  void MontageChanged();
  void TargetChanged();
  void SeriesChanged();
  void Recompute();
  void DrawPreview();

 private:
  double ReadPercent(const QString& text) const;
  QString PercentText(double value, int decimals) const;
  // Why a field cannot be read, naming the decimal separator when the other
  // one was typed.
  QString NotANumber(const QString& field, const QString& typed) const;
  // That hint alone, empty when the typed text has no other separator.
  QString SeparatorHint(const QString& typed) const;
  void ShowMessage(const QString& message);
  // Why the list is empty, in French; `position` as read.
  QString ReasonText(const FinderOutcome& outcome, double position) const;
  // What a screen reader is told of the preview: the curves it draws, at
  // 25, 50 and 75 % of the travel.
  QString PreviewDescription() const;
  void FillTargets();
  // The setup as the fields give it, or the message that says what is wrong.
  std::optional<FinderSetup> ReadSetup(QString& problem) const;
  std::optional<TargetLaw> ReadTarget(QString& problem) const;
  // The law's own value at the typed position; NaN where it has none.
  double LawValue() const;
  // What the resistor is computed for: the law's value until the user types
  // one, then the typed one.
  double Wanted() const;

  std::unique_ptr<Ui::TfmFindResistor> ui_;
  char separator_;
  double p1_;
  bool decibels_;
  // The wanted value follows the target, the resistor's tolerance the
  // series, until the user types one.
  bool wantedFollowsTarget_ = true;
  bool toleranceFollowsSeries_ = true;
  std::optional<FinderSetup> setup_;  // of the list shown
};

// Runs the dialog for the main window, preset from its boxes. On "Appliquer"
// the chosen value goes into R1 or R2 and that box is ticked as a click
// ticks it.
void FindResistor(TfmMain& window);

// Writes the value into R1's or R2's box and ticks it as a click would.
void ApplyFittedResistor(TfmMain& window, Fitted which, double ohms);

}  // namespace dorvane::forms
