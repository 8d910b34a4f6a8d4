#pragma once
// The main window: the value boxes, the R1/R2 boxes, the circuit diagram and
// the chart, tied together by the update rule of core/main_window_state.h.
#include <QMainWindow>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/circuit.h"
#include "core/main_window_state.h"
#include "forms/frm_load.h"
#include "forms/startup.h"

namespace Ui {
class TfmMain;
}

class QAction;

namespace dorvane::controls {
class TMarkupCheckBox;
}  // namespace dorvane::controls
namespace dorvane::chart {
class TChart;
}

namespace dorvane::forms {

class TfmMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfmMain(QWidget* parent = nullptr);
  ~TfmMain() override;

  // Where the window goes instead of its designed place (the toolkit's
  // -geometry); it is still moved the least that makes its frame fit.
  void PlaceAt(const WindowPlacement& placement);

  char DecimalSeparator() const { return separator_; }
  void setDecimalSeparator(char separator);

  // The chart's vertical axis in dB ("Échelle en décibels") or in percent.
  bool Decibels() const { return decibels_; }
  void setDecibels(bool on);

  // How many times the update rule ran since creation.
  qint64 RuleRunCount() const { return ruleRuns_; }

  // What the controls hold, as the replot reads it.
  MainWindowInputs Inputs() const { return ReadInputs(RuleSender::None); }
  // The circuit in the boxes: the law list, the values as typed, the ticks.
  struct BoxCircuit {
    int lawIndex = 0;
    QString p1, r1, r2;
    bool r1Fitted = false, r2Fitted = false;
  };
  BoxCircuit CircuitInBoxes() const;
  // Writes a value into R1's or R2's box and ticks that box as a click on it
  // would (the other box is unticked by the update rule).
  void ApplyFittedResistor(Fitted which, const QString& value);
  // The chart as shown, for the copies and the saved files.
  chart::TChart& Chart();

  // "Montage" > "Charge et tolérances...": the load on the wiper and the
  // parts' tolerances; setting them runs the update rule.
  const LoadSettings& Load() const { return load_; }
  void SetLoad(const LoadSettings& settings);
  // "Affichage" > "Bande de tolérance".
  bool Band() const { return band_; }
  void setBand(bool on);
  // "Affichage" > "Figer la courbe modifiée" (up to four) and "Effacer les
  // courbes figées".
  struct PinnedEntry {
    PinnedCurve curve;  // its circuit and points in percent
    Circuit circuit;    // for values between the points
  };
  const std::vector<PinnedEntry>& Pinned() const { return pinned_; }
  // Pins the modified curve when it is shown and fewer than four are
  // pinned; "Figer la courbe modifiée" is offered then only.
  bool CanPin() const;
  bool PinModifiedCurve();
  void ClearPinnedCurves();
  // What a values file states beyond the points: the circuits of its
  // curves, the band's tolerances, the pinned curves.
  CsvNotes FileNotes() const;

 public slots:
  void FormCreate();
  // The update rule; the sender is the control whose event runs it.
  void cbR1Click();
  void cbShowCurveOriginalClick();
  void Quitter1Click();
  void Copier1Click();
  void CopierenMetafile1Click();
  void Apropos1Click();
  void Trouverlaresistance1Click();
  void Chargeettolerances1Click();
  // "Enregistrer le graphique sous..." and "Exporter les valeurs...".
  void Enregistrerlegraphiquesous1Click();
  void Exporterlesvaleurs1Click();
  // "Enregistrer le cadran sous...": the knob's scale for the loaded curve.
  void Enregistrerlecadransous1Click();

  // The menu's copy actions are bound to these (frm_main.ui): each runs its
  // handler and shows an error that escapes it with the application's
  // standard error report, so that no exception crosses Qt's menu code.
  void Copier1Triggered();
  void CopierenMetafile1Triggered();

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void RunRule(RuleSender sender);
  MainWindowInputs ReadInputs(RuleSender sender) const;
  void PlotCurves();
  std::vector<PinnedCurve> PinnedCurves() const;
  void ApplyPlot(const PlotOutputs& plot);
  void FocusFirstTabStop();
  void BindBoxItems();
  void ShowBoxStates();
  void PlaceOnScreen();
  void FixTextsOverThePanel();
  void ReportErrorsOf(void (TfmMain::*handler)());
  void BindCircuitItems();

  std::unique_ptr<Ui::TfmMain> ui_;
  // The menu items that stand for check boxes, with their box.
  std::vector<std::pair<QAction*, controls::TMarkupCheckBox*>> boxItems_;
  char separator_ = '.';
  bool decibels_ = false;
  bool framePlaced_ = false;
  LoadSettings load_;
  bool band_ = false;
  std::vector<PinnedEntry> pinned_;
  bool pinnedStale_ = true;                   // the chart's pinned series need refilling
  std::vector<QWidget*> loadSymbol_;          // the load's wires and body
  std::optional<WindowPlacement> placement_;  // asked on the command line
  qint64 ruleRuns_ = 0;
};

}  // namespace dorvane::forms
