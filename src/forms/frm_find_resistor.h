#pragma once
// "Trouver la résistance": from the taper the user wants to the standard
// resistor to fit across P1, and how closely it imitates the ideal law.
#include <QDialog>
#include <memory>
#include <optional>

#include "core/finder.h"

namespace Ui {
class TfmFindResistor;
}

namespace dorvane::forms {

class TfmMain;

class TfmFindResistor : public QDialog {
  Q_OBJECT

 public:
  // p1Text: the main window's P1 box as typed; the montage preset.
  TfmFindResistor(QWidget* parent, const QString& p1Text, char decimalSeparator, Fitted montage);
  ~TfmFindResistor() override;

  Ui::TfmFindResistor& controls() { return *ui_; }

  Fitted Montage() const;
  // The standard value of the selected row; none while no row is selected.
  std::optional<double> ChosenValue() const;

 private slots:
  void MontageChanged();
  void PositionChanged();
  void Recompute();

 private:
  double ReadPercent(const QString& text) const;
  QString Percent(double value, int decimals) const;
  void ShowMessage(const QString& message);

  std::unique_ptr<Ui::TfmFindResistor> ui_;
  char separator_;
  double p1_;
  // The wanted value follows the ideal law until the user types one.
  bool wantedFollowsLaw_ = true;
};

// Runs the dialog for the main window, preset from its boxes. On "Appliquer"
// the chosen value goes into R1 or R2 and that box is ticked as a click
// ticks it.
void FindResistor(TfmMain& window);

// Writes the value into R1's or R2's box and ticks it as a click would.
void ApplyFittedResistor(TfmMain& window, Fitted which, double ohms);

}  // namespace dorvane::forms
