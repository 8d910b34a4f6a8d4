#pragma once
// "Enregistrer le cadran sous...": the knob's rotation, the dial's diameter
// and the marks (levels in the chart's unit), a preview of the dial as it
// will print, then the file (PDF, SVG, PNG or the marks' CSV).
#include <QDialog>
#include <QString>
#include <memory>
#include <optional>

#include "core/dial.h"
#include "forms/dial_drawing.h"

namespace Ui {
class TfmDial;
}

namespace dorvane::forms {

class TfmMain;

// The curve the dial is made for, as the main window holds it.
struct DialSource {
  Circuit circuit;
  bool linearLaw = true;   // only P1's linear law has a curve
  QString lawName;         // for saying so otherwise
  QString circuitCaption;  // "P1 100K, R2 10K, charge 47K"
  DialUnit unit = DialUnit::Decibels;
  char separator = ',';
};

// The main window's curve as a dial's source.
DialSource DialSourceOf(TfmMain& window);

class TfmDial : public QDialog {
  Q_OBJECT

 public:
  // Opens with the settings and the marks' text given, or the defaults.
  TfmDial(QWidget* parent, const DialSource& source, const DialSettings& settings = {},
          const QString& marksText = {});
  ~TfmDial() override;

  // The dial as the fields give it; none, with the reason in `problem`, when
  // they give none (a field that cannot be read, no curve, no mark reached).
  std::optional<DialPicture> Picture(QString* problem = nullptr) const;
  DialSettings Settings() const;

  // "Enregistrer...": asks for the file and writes it; the dialog closes
  // once it is written.
  void Save();

 private slots:
  void Update();

 private:
  std::unique_ptr<Ui::TfmDial> ui_;
  DialSource source_;
};

// The menu item: the dialog over the main window. Its settings and marks
// are kept for the next time in this run, once a dial was saved.
void SaveDialAs(TfmMain& window);

}  // namespace dorvane::forms
