#include "forms/frm_main.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <algorithm>
#include <cmath>

#include "chart/chart.h"
#include "chart/chart_accessible.h"
#include "controls/flat_combo_box.h"
#include "controls/flat_edit.h"
#include "controls/label.h"
#include "controls/markup_check_box.h"
#include "controls/shader.h"
#include "controls/shape.h"
#include "controls/technical_line.h"
#include "core/decimal.h"
#include "core/resistance.h"
#include "forms/access_keys.h"
#include "forms/accessibility.h"
#include "forms/application.h"
#include "forms/chart_value_tip.h"
#include "forms/frm_about.h"
#include "forms/frm_dial.h"
#include "forms/frm_find_resistor.h"
#include "forms/main_chart.h"
#include "forms/notation_text.h"
#include "forms/save_dialogs.h"
#include "forms/startup.h"
#include "gfx/fonts.h"
#include "gfx/property.h"
#include "ui_frm_main.h"

namespace dorvane::forms {
namespace {

// The examples as designed for a decimal comma; the two decimal ones take
// the locale's separator, so that typing what is shown works.
QString StatusText(char separator) {
  return QString::fromUtf8(
             "Exemples de valeur de résistance (pour P1, R1 et R2) : 12; 11#3; 11U3, 68U; 120R;  470E; 12K8; "
             "12#8K; 1M3")
      .replace(u'#', QChar::fromLatin1(separator));
}

}  // namespace

TfmMain::TfmMain(QWidget* parent) : QMainWindow(parent), ui_(std::make_unique<Ui::TfmMain>()) {
  InstallAccessibility();
  ui_->setupUi(this);
  setFont(gfx::WindowFont());
  separator_ = NumericDecimalSeparator();

  // Fixed frame: close and minimise, no maximise, no resizing. Wayland's
  // decorations offer maximising unless the window says it is fixed.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  BindBoxItems();
  BindCircuitItems();
  // The two menus the program adds leave the designed menus their keys.
  for (QMenu* added : {ui_->Montage1, ui_->Affichage1}) added->menuAction()->setProperty(kAddedItem, true);
  ui_->Enregistrerlecadransous1->setProperty(kAddedItem, true);
  ApplyAccessKeys(*ui_->MainMenu1);
  const QSize client(606, 374);
  ui_->Shader1->setFixedSize(client);
  setFixedSize(client.width(), client.height() + ui_->MainMenu1->sizeHint().height());
  PlaceOnScreen();

  loadSymbol_ = {ui_->TechnicalLine11, ui_->TechnicalLine12, ui_->TechnicalLine13, ui_->TechnicalLine14,
                 ui_->shLoad};
  FixTextsOverThePanel();
  ui_->StatusBar1->showMessage(StatusText(separator_));
  ConfigureProgramChart(*ui_->Chart1);
  ui_->Chart1->setDecimalSeparator(QChar(separator_));
  new ChartValueTip(*ui_->Chart1, [this] {  // owned by the chart
    ChartReading reading{Inputs(), decibels_, {}};
    for (const PinnedEntry& p : pinned_)
      reading.pinned.push_back({QString::fromStdString(CircuitLabel(p.curve.name)), p.circuit});
    return reading;
  });
  chart::SetDescriptionSource(*ui_->Chart1,
                              [this] { return ChartValuesDescription(*ui_->Chart1, Inputs()); });

  FormCreate();
}

TfmMain::~TfmMain() = default;

void TfmMain::setDecimalSeparator(char separator) {
  if (!gfx::SetField(separator_, separator)) return;
  ui_->StatusBar1->showMessage(StatusText(separator));
  ui_->Chart1->setDecimalSeparator(QChar(separator));
  RunRule(RuleSender::None);
}

void TfmMain::setDecibels(bool on) {
  if (!gfx::SetField(decibels_, on)) return;
  {
    const QSignalBlocker quiet(ui_->Echelleendecibels1);
    ui_->Echelleendecibels1->setChecked(on);
  }
  // A zoom kept its range in the old unit.
  if (ui_->Chart1->Zoomed()) ui_->Chart1->UndoZoom();
  SetVerticalScale(*ui_->Chart1, on, ProgramPercentTitle(!std::isinf(LoadOhms(load_, separator_))));
  pinnedStale_ = true;
  PlotCurves();
}

void TfmMain::changeEvent(QEvent* e) {
  if (e->type() == QEvent::LocaleChange) setDecimalSeparator(NumericDecimalSeparator());
  QMainWindow::changeEvent(e);
}

bool TfmMain::event(QEvent* e) {
  // The window manager's frame is known only once it is shown: place the
  // window again, once, with the frame.
  if (!framePlaced_ && (e->type() == QEvent::Show || e->type() == QEvent::Move) &&
      frameGeometry() != geometry()) {
    framePlaced_ = true;
    PlaceOnScreen();
  }
  return QMainWindow::event(e);
}

// At its designed place when the whole frame fits in the screen's free area,
// otherwise moved the least distance that makes it fit (or that shows its top
// left corner, on a screen smaller than the window).
void TfmMain::PlaceAt(const WindowPlacement& placement) {
  placement_ = placement;
  PlaceOnScreen();
}

void TfmMain::PlaceOnScreen() {
  QPoint designed(292, 204);
  QScreen* screen = QGuiApplication::screenAt(designed);
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  const QSize frame = frameGeometry().size();
  if (placement_) {
    const QRect whole = screen->geometry();
    designed = placement_->offset;
    if (placement_->fromRight) designed.rx() = whole.right() + 1 - frame.width() - designed.x();
    if (placement_->fromBottom) designed.ry() = whole.bottom() + 1 - frame.height() - designed.y();
  }
  const int x = std::max(free.left(), std::min(designed.x(), free.right() + 1 - frame.width()));
  const int y = std::max(free.top(), std::min(designed.y(), free.bottom() + 1 - frame.height()));
  move(x, y);
}

// The gradient stays light under a dark palette: the texts drawn straight on
// it keep the design's black instead of the palette's text colour (the value
// boxes, the list and the status bar paint their own background and follow
// the palette).
void TfmMain::FixTextsOverThePanel() {
  const auto fix = [](gfx::Colour c) { return c == gfx::clWindowText ? gfx::clBlack : c; };
  for (auto* label : ui_->Shader1->findChildren<controls::TLabel*>())
    label->setFontColor(fix(label->FontColor()));
  for (auto* box : ui_->Shader1->findChildren<controls::TMarkupCheckBox*>())
    box->setFontColor(fix(box->FontColor()));
  ui_->lstPotType->setLabelFontColor(fix(ui_->lstPotType->LabelFontColor()));
}

// The check boxes are no tab stops; these items are the keyboard's way to
// them. Each does what a click on its box does, so the update rule runs.
void TfmMain::BindBoxItems() {
  boxItems_ = {{ui_->AjouterresistanceR11, ui_->cbR1},
               {ui_->AjouterresistanceR21, ui_->cbR2},
               {ui_->Affichercourbeoriginale1, ui_->cbShowCurveOriginal},
               {ui_->Affichercourbelog1, ui_->cbShowCurveLogIdeal},
               {ui_->Affichercourbemodifiee1, ui_->cbShowCurveModified}};
  for (const auto& [action, box] : boxItems_) {
    connect(action, &QAction::triggered, box, [this, box = box] {
      if (box->Click()) ShowBoxStates();
    });
  }
  for (QMenu* menu : {ui_->Montage1, ui_->Affichage1})
    connect(menu, &QMenu::aboutToShow, this, &TfmMain::ShowBoxStates);
  connect(ui_->Echelleendecibels1, &QAction::toggled, this, &TfmMain::setDecibels);
}

void TfmMain::ShowBoxStates() {
  for (const auto& [action, box] : boxItems_) {
    action->setChecked(box->Checked());
    action->setEnabled(box->isEnabled() && !box->isHidden());
  }
}

void TfmMain::FormCreate() {
  ui_->lstPotType->setItemIndex(0);  // raises no change event
  RunRule(RuleSender::None);
  FocusFirstTabStop();
}

void TfmMain::cbR1Click() {
  const QObject* from = sender();
  RunRule(from == ui_->cbR1   ? RuleSender::R1Box
          : from == ui_->cbR2 ? RuleSender::R2Box
          : from              ? RuleSender::Other
                              : RuleSender::None);
}

void TfmMain::cbShowCurveOriginalClick() {
  PlotCurves();
}

void TfmMain::Quitter1Click() {
  close();
}

void TfmMain::Copier1Click() {
  ui_->Chart1->CopyAsBitmap();
}

void TfmMain::CopierenMetafile1Click() {
  ui_->Chart1->CopyAsMetafile(true);
}

void TfmMain::ReportErrorsOf(void (TfmMain::*handler)()) {
  try {
    (this->*handler)();
  } catch (const std::exception& error) {
    TApplication::ShowException(error);
  }
}

void TfmMain::Copier1Triggered() {
  ReportErrorsOf(&TfmMain::Copier1Click);
}

void TfmMain::CopierenMetafile1Triggered() {
  ReportErrorsOf(&TfmMain::CopierenMetafile1Click);
}

void TfmMain::Apropos1Click() {
  ShowAboutBox(this);
}

void TfmMain::Trouverlaresistance1Click() {
  FindResistor(*this);
}

void TfmMain::Chargeettolerances1Click() {
  TfmLoad dialog(this, load_, separator_);
  if (dialog.exec() == QDialog::Accepted) SetLoad(dialog.Settings());
}

void TfmMain::SetLoad(const LoadSettings& settings) {
  if (!gfx::SetField(load_, settings)) return;
  RunRule(RuleSender::None);
}

void TfmMain::setBand(bool on) {
  if (!gfx::SetField(band_, on)) return;
  {
    const QSignalBlocker quiet(ui_->Bandedetolerance1);
    ui_->Bandedetolerance1->setChecked(on);
  }
  PlotCurves();
}

bool TfmMain::CanPin() const {
  return int(pinned_.size()) < kMaxPinnedCurves && ComputePlot(Inputs()).loadedActive;
}

bool TfmMain::PinModifiedCurve() {
  // Only the curve shown: its band goes with it, and a pinned copy of a
  // hidden curve would be the only one to see.
  const MainWindowInputs in = Inputs();
  const PlotOutputs plot = ComputePlot(in);
  if (int(pinned_.size()) >= kMaxPinnedCurves || !plot.loadedActive || plot.curves.loaded.empty())
    return false;
  pinnedStale_ = true;
  pinned_.push_back({{plot.modifiedName, plot.curves.loaded}, CircuitOf(in)});
  PlotCurves();
  return true;
}

void TfmMain::ClearPinnedCurves() {
  if (pinned_.empty()) return;
  pinned_.clear();
  pinnedStale_ = true;
  PlotCurves();
}

std::vector<PinnedCurve> TfmMain::PinnedCurves() const {
  std::vector<PinnedCurve> curves;
  for (const PinnedEntry& p : pinned_) curves.push_back(p.curve);
  return curves;
}

CsvNotes TfmMain::FileNotes() const {
  return ProgramFileNotes(Inputs(), PinnedCurves());
}

// "Bande de tolérance", "Figer la courbe modifiée" and "Effacer les courbes
// figées"; the last two are offered only when they can act.
void TfmMain::BindCircuitItems() {
  connect(ui_->Bandedetolerance1, &QAction::toggled, this, &TfmMain::setBand);
  connect(ui_->Figerlacourbemodifiee1, &QAction::triggered, this, [this] { PinModifiedCurve(); });
  connect(ui_->Effacerlescourbesfigees1, &QAction::triggered, this, &TfmMain::ClearPinnedCurves);
  connect(ui_->Affichage1, &QMenu::aboutToShow, this, [this] {
    ui_->Figerlacourbemodifiee1->setEnabled(CanPin());
    ui_->Effacerlescourbesfigees1->setEnabled(!pinned_.empty());
  });
}

void TfmMain::Enregistrerlegraphiquesous1Click() {
  SaveChartAs(*this);
}

void TfmMain::Enregistrerlecadransous1Click() {
  SaveDialAs(*this);
}

void TfmMain::Exporterlesvaleurs1Click() {
  ExportValuesAs(*this);
}

TfmMain::BoxCircuit TfmMain::CircuitInBoxes() const {
  return {ui_->lstPotType->ItemIndex(), ui_->edP1->text(),   ui_->edR1->text(), ui_->edR2->text(),
          ui_->cbR1->Checked(),         ui_->cbR2->Checked()};
}

void TfmMain::ApplyFittedResistor(Fitted which, const QString& value) {
  controls::TFlatEdit* edit = which == Fitted::R1 ? ui_->edR1 : ui_->edR2;
  controls::TMarkupCheckBox* box = which == Fitted::R1 ? ui_->cbR1 : ui_->cbR2;
  edit->setText(value);
  // The box's own click: the mark flips, then the update rule unticks the
  // other box. A box already ticked stays so; the new text ran the rule.
  if (!box->Checked()) box->Click();
}

chart::TChart& TfmMain::Chart() {
  return *ui_->Chart1;
}

MainWindowInputs TfmMain::ReadInputs(RuleSender sender) const {
  MainWindowInputs in;
  in.lawIndex = ui_->lstPotType->ItemIndex();
  in.p1Text = NotationBytes(ui_->edP1->text());
  in.r1Text = NotationBytes(ui_->edR1->text());
  in.r2Text = NotationBytes(ui_->edR2->text());
  in.r1Ticked = ui_->cbR1->Checked();
  in.r2Ticked = ui_->cbR2->Checked();
  in.showLinear = ui_->cbShowCurveOriginal->Checked();
  in.showLoaded = ui_->cbShowCurveModified->Checked();
  in.showLog = ui_->cbShowCurveLogIdeal->Checked();
  in.sender = sender;
  in.decimalSeparator = separator_;
  ApplyLoadSettings(in, load_);
  in.band = band_;
  return in;
}

void TfmMain::RunRule(RuleSender sender) {
  ++ruleRuns_;
  const MainWindowState s = ComputeMainWindowState(ReadInputs(sender));

  // Ticks set from code raise no OnClick, so this runs no rule again.
  ui_->cbR1->setChecked(s.r1Ticked);
  ui_->cbR2->setChecked(s.r2Ticked);

  const QString title = QString::fromLatin1(s.title.c_str());
  SetProgramChartTitle(*ui_->Chart1, s.chartTitle);
  ui_->lblWireType->setCaption(title);
  if (!decibels_) ui_->Chart1->LeftAxis()->Title()->setCaption(ProgramPercentTitle(s.loadShown));
  for (QWidget* part : loadSymbol_) part->setVisible(s.loadShown);
  ui_->lblLoad->setCaption(FromNotationBytes(s.loadCaption));
  ui_->lblLoad->setVisible(s.loadShown);
  ui_->cbShowCurveModified->setVisible(s.loadedBoxVisible);

  ui_->edR1->setEnabled(s.r1Enabled);
  ui_->shR1->setBrushColor(s.r1BodyColour);
  ui_->lblR1->setFontColor(s.r1CaptionColour);
  ui_->edR2->setEnabled(s.r2Enabled);
  ui_->shR2->setBrushColor(s.r2BodyColour);
  ui_->lblR2->setFontColor(s.r2CaptionColour);

  ui_->lblP1->setCaption(FromNotationBytes(s.p1Caption));
  ui_->lblR1->setCaption(FromNotationBytes(s.r1Caption));
  ui_->lblR2->setCaption(FromNotationBytes(s.r2Caption));

  // The rule already computed the replot from the same texts and ticks.
  ApplyPlot(s.plot);
}

void TfmMain::PlotCurves() {
  ApplyPlot(ComputePlot(ReadInputs(RuleSender::None)));
}

void TfmMain::ApplyPlot(const PlotOutputs& plot) {
  // The pinned curves' points change only when pinned, cleared or turned
  // to dB.
  PlotProgramState(*ui_->Chart1, plot, PinnedCurves(), pinnedStale_, decibels_);
  pinnedStale_ = false;
  chart::NotifyAccessibleChartChanged(*ui_->Chart1);
}

// The first enabled control that the Tab key visits, in tab order.
void TfmMain::FocusFirstTabStop() {
  for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
    if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->isHidden()) {
      w->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

}  // namespace dorvane::forms
