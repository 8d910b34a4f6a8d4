#include "forms/frm_find_resistor.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "chart/chart.h"
#include "chart/chart_accessible.h"
#include "controls/accessible.h"
#include "controls/flat_edit.h"
#include "core/curves.h"
#include "core/decimal.h"
#include "core/resistance.h"
#include "core/taper.h"
#include "forms/frm_main.h"
#include "forms/main_chart.h"
#include "forms/notation_text.h"
#include "gfx/fonts.h"
#include "ui_frm_find_resistor.h"

namespace dorvane::forms {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kPerSide = 3;
// The taper codes offered for each montage, by their value at mid travel.
constexpr double kCodesR2[] = {10, 15, 20, 30};
constexpr double kCodesR1[] = {70, 80, 85, 90};
constexpr int kCodeCount = 4;
constexpr gfx::Colour kPreviewPanel = 0xF0F0F0;
enum TargetRow { kIdeal = 0, kOther = kCodeCount + 1 };
enum Column { kValue, kCurve, kCurveDb, kBand, kGang, kGap, kGapDb };

// A number with `decimals` decimals and the locale's separator; `trim` drops
// the zeros that end the decimals.
QString ShownDecimal(double value, int decimals, bool trim, char separator) {
  if (std::isinf(value)) return QString::fromUtf8(value < 0 ? "-∞" : "∞");
  if (std::isnan(value)) return QStringLiteral("-");
  return QString::fromStdString(FormatDecimal(value, decimals, separator, trim));
}

// A percentage near 0 or 100 with the decimals that show its distance to
// them to three digits (0,002, 99,998), otherwise with two; trimmed.
QString Near(double value, char separator) {
  const double distance = std::min(std::abs(value), std::abs(100 - value));
  int decimals = 2;
  if (distance > 0 && distance < 1) decimals = std::min(15, 2 - int(std::floor(std::log10(distance))));
  return ShownDecimal(value, decimals, true, separator);
}

QString ExactOhms(double ohms, char separator) {
  return QString::fromStdString(FormatOhms(ohms, separator));
}

QString Db(double value, char separator) {
  return ShownDecimal(value, 1, false, separator) + QStringLiteral(" dB");
}

// The preview's series: the target, the nominal curve, the band's edges.
void ConfigurePreview(chart::TChart& chart, bool decibels) {
  using namespace chart;
  chart.setLoading(true);
  chart.Title()->setVisible(false);
  chart.Legend()->setVisible(false);
  chart.setView3D(false);
  chart.setBevelOuter(bvNone);
  chart.setAllowZoom(false);
  chart.setMarginRight(5);  // the last label, centred on the axis' end
  chart.setAllowPanning(pmNone);
  chart.BackWall()->Brush()->setColor(gfx::clWhite);
  // A light panel under any palette, as the main chart's: its black labels,
  // titles and frame, and the blue law, stay readable.
  chart.setColor(kPreviewPanel);
  chart.BottomAxis()->SetMinMax(0, 100);
  chart.BottomAxis()->setIncrement(25);
  chart.TopAxis()->setVisible(false);
  chart.RightAxis()->setVisible(false);
  SetVerticalScale(chart, decibels, QString());
  chart.LeftAxis()->Title()->setCaption(decibels ? QStringLiteral("dB") : QStringLiteral("%"));
  const struct {
    gfx::Colour colour;
    int width;
  } series[] = {{gfx::clBlue, 1}, {gfx::clRed, 2}, {0x8080FF, 1}, {0x8080FF, 1}};
  for (const auto& s : series) {
    auto* line = new TLineSeries(&chart);
    line->setSeriesColor(s.colour);
    line->LinePen()->setWidth(s.width);
    line->Marks().Visible = false;
    line->Pointer().Visible = false;
    line->XValues()->setOrder(loAscending);
    line->YValues()->setOrder(loNone);
    chart.AddSeries(line);
  }
  chart.setLoading(false);
}

}  // namespace

TfmFindResistor::TfmFindResistor(QWidget* parent, const QString& p1Text, char decimalSeparator,
                                 Fitted montage, bool decibels)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TfmFindResistor>()),
      separator_(decimalSeparator),
      p1_(ReadValueBox(NotationBytes(p1Text), decimalSeparator)),
      decibels_(decibels) {
  ui_->setupUi(this);
  setFont(gfx::WindowFont());
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  // Tight margins: the whole dialog fits a 640 x 480 screen.
  layout()->setSpacing(4);
  for (QGroupBox* box : findChildren<QGroupBox*>()) box->layout()->setContentsMargins(6, 2, 6, 4);
  // The message takes the list's place: the same room, so the window keeps
  // its size: what the header and the rows need, or the preview's height
  // beside it, no more, so that the dialog fits a 640 x 480 screen.
  {
    const auto sample =
        std::make_unique<QTreeWidgetItem>(ui_->lstValues, QStringList{QStringLiteral("8,2K")});
    const int row = ui_->lstValues->sizeHintForRow(0);
    ui_->stkResults->setFixedHeight(
        std::max(ui_->chPreview->minimumHeight(), ui_->lstValues->header()->sizeHint().height() +
                                                      2 * kPerSide * row + 2 * ui_->lstValues->frameWidth()));
  }
  // Room for the columns of a usual row without scrolling, and for the
  // widest header a position gives.
  ui_->stkResults->setMinimumWidth(ui_->lstValues->fontMetrics().horizontalAdvance(
                                       QString::fromUtf8("100,0KÀ 99,99 %-20,0 dB10,0 à 20,0 %Écart gangs"
                                                         "30,0 points-20,0 dB")) +
                                   7 * 8);
  ui_->lstValues->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  ui_->lstValues->header()->setStretchLastSection(false);
  const char* headerTips[] = {"Valeur normalisée",
                              "Courbe à la position, en % de l'entrée",
                              "Courbe à la position, en décibels",
                              "Courbe la plus basse et la plus haute à la position, avec les tolérances",
                              "Plus grand écart entre deux voies à la position (bande haute moins basse)",
                              "Plus grand écart à la cible sur la plage, en points de %",
                              "Plus grand écart à la cible sur la plage, en décibels"};
  for (int c = 0; c < 7; ++c) ui_->lstValues->headerItem()->setToolTip(c, QString::fromUtf8(headerTips[c]));
  controls::RefuseAltAndCtrlTyping(*this);
  ConfigurePreview(*ui_->chPreview, decibels_);
  // For screen readers: the list by its caption, as the fields are by
  // theirs; the preview, which has no title, by what it draws.
  ui_->lstValues->setAccessibleName(controls::AccessibleText(ui_->lblValuesCaption->text()));
  ui_->chPreview->setAccessibleName(QString::fromUtf8("Aperçu des courbes"));
  chart::SetDescriptionSource(*ui_->chPreview, [this] { return PreviewDescription(); });
  ui_->chPreview->setDecimalSeparator(QChar::fromLatin1(separator_));

  (montage == Fitted::R1 ? ui_->rbR1 : ui_->rbR2)->setChecked(true);
  FillTargets();
  ui_->edPosition->setText(ShownDecimal(50, 0, true, separator_));
  ui_->edRangeFrom->setText(ShownDecimal(10, 0, true, separator_));
  ui_->edRangeTo->setText(ShownDecimal(100, 0, true, separator_));
  ui_->edPotTolerance->setText(ShownDecimal(20, 0, true, separator_));
  ui_->lblP1->setText(FromNotationBytes(FormatResistance(p1_, separator_)));
  SeriesChanged();

  connect(ui_->rbR1, &QRadioButton::toggled, this, &TfmFindResistor::MontageChanged);
  connect(ui_->cbTarget, &QComboBox::currentIndexChanged, this, &TfmFindResistor::TargetChanged);
  connect(ui_->edTargetMid, &QLineEdit::textChanged, this, &TfmFindResistor::TargetChanged);
  connect(ui_->edPosition, &QLineEdit::textChanged, this, &TfmFindResistor::TargetChanged);
  connect(ui_->edWanted, &QLineEdit::textEdited, this, [this] { wantedFollowsTarget_ = false; });
  connect(ui_->edResistorTolerance, &QLineEdit::textEdited, this,
          [this] { toleranceFollowsSeries_ = false; });
  connect(ui_->cbSeries, &QComboBox::currentIndexChanged, this, &TfmFindResistor::SeriesChanged);
  for (QLineEdit* edit : {ui_->edWanted, ui_->edLoad, ui_->edPotTolerance, ui_->edResistorTolerance,
                          ui_->edRangeFrom, ui_->edRangeTo})
    connect(edit, &QLineEdit::textChanged, this, &TfmFindResistor::Recompute);
  connect(ui_->lstValues, &QTreeWidget::itemSelectionChanged, this, [this] {
    ui_->btnApply->setEnabled(ChosenValue().has_value());
    DrawPreview();
  });
  connect(ui_->lstValues, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    ui_->lstValues->setCurrentItem(item);
    accept();
  });
  connect(ui_->btnApply, &QPushButton::clicked, this, [this] {
    if (ChosenValue()) accept();
  });
  TargetChanged();
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
  return ReadTypedPercent(typed.toStdString(), separator_);
}

QString TfmFindResistor::PercentText(double value, int decimals) const {
  return ShownDecimal(value, decimals, false, separator_);
}

QString TfmFindResistor::SeparatorHint(const QString& typed) const {
  const char other = separator_ == ',' ? '.' : ',';
  if (!typed.contains(QChar(other))) return QString();
  return QString::fromUtf8(" : le séparateur décimal attendu est %1 (« %2 »), pas « %3 ».")
      .arg(separator_ == ',' ? QString::fromUtf8("la virgule") : QStringLiteral("le point"),
           QChar(separator_), QChar(other));
}

QString TfmFindResistor::NotANumber(const QString& field, const QString& typed) const {
  const QString hint = SeparatorHint(typed);
  return QString::fromUtf8("%1 n'est pas un nombre").arg(field) +
         (hint.isEmpty() ? QStringLiteral(".") : hint);
}

void TfmFindResistor::FillTargets() {
  const QSignalBlocker quiet(ui_->cbTarget);
  const int row = ui_->cbTarget->currentIndex();
  ui_->cbTarget->clear();
  ui_->cbTarget->addItem(QString::fromUtf8("Loi idéale"));
  const bool r1 = Montage() == Fitted::R1;
  for (double mid : r1 ? kCodesR1 : kCodesR2)
    ui_->cbTarget->addItem(QStringLiteral("%1 %2 %").arg(QChar(r1 ? u'C' : u'A')).arg(mid));
  ui_->cbTarget->addItem(QStringLiteral("Autre"));
  // A code keeps its mirror across montages (A 10 % and C 90 %).
  ui_->cbTarget->setCurrentIndex(row > kIdeal && row < kOther ? kCodeCount + 1 - row : std::max(row, 0));
}

void TfmFindResistor::MontageChanged() {
  // Only the button that becomes checked reports; one update per change.
  FillTargets();
  TargetChanged();
}

void TfmFindResistor::SetLoadSettings(const LoadSettings& settings) {
  ui_->edLoad->setText(FromNotationBytes(settings.loadText));
  // As typed: a number rounded for the field could be one it refuses.
  ui_->edPotTolerance->setText(QString::fromStdString(
      ToleranceText(settings.p1ToleranceText, settings.p1TolerancePercent, separator_)));
  const int index = std::clamp(ui_->cbSeries->currentIndex(), 0, int(ESeries::E192));
  if (settings.resistorTolerancePercent != SeriesTolerancePercent(ESeries(index))) {
    toleranceFollowsSeries_ = false;
    ui_->edResistorTolerance->setText(QString::fromStdString(
        ToleranceText(settings.resistorToleranceText, settings.resistorTolerancePercent, separator_)));
  }
}

std::optional<LoadSettings> TfmFindResistor::ReadLoadSettings() const {
  const LoadSettings settings{NotationBytes(ui_->edLoad->text().trimmed()),
                              ReadTolerance(ui_->edPotTolerance->text().toStdString(), separator_),
                              ReadTolerance(ui_->edResistorTolerance->text().toStdString(), separator_),
                              ui_->edPotTolerance->text().trimmed().toStdString(),
                              ui_->edResistorTolerance->text().trimmed().toStdString()};
  if (std::isnan(ReadLoadOhms(settings.loadText, separator_)) || std::isnan(settings.p1TolerancePercent) ||
      std::isnan(settings.resistorTolerancePercent))
    return std::nullopt;
  return settings;
}

void TfmFindResistor::SeriesChanged() {
  if (toleranceFollowsSeries_) {
    const int index = std::clamp(ui_->cbSeries->currentIndex(), 0, int(ESeries::E192));
    const QSignalBlocker quiet(ui_->edResistorTolerance);
    ui_->edResistorTolerance->setText(
        ShownDecimal(SeriesTolerancePercent(ESeries(index)), 1, true, separator_));
  }
  Recompute();
}

void TfmFindResistor::TargetChanged() {
  const int row = ui_->cbTarget->currentIndex();
  if (row == kOther && ui_->edTargetMid->text().isEmpty()) {
    const QSignalBlocker quiet(ui_->edTargetMid);
    ui_->edTargetMid->setText(ShownDecimal(IdealLawPercent(Montage(), 50), 2, true, separator_));
  }
  ui_->edTargetMid->setEnabled(row == kOther);
  ui_->lblTargetMid->setEnabled(row == kOther);
  if (wantedFollowsTarget_) {
    // Shown rounded; Recompute takes the law's own value. Nothing is shown
    // where the law has none, so no old value stays beside the message.
    const double law = LawValue();
    const QSignalBlocker quiet(ui_->edWanted);
    ui_->edWanted->setText(std::isnan(law) ? QString() : Near(law, separator_));
  }
  Recompute();
}

double TfmFindResistor::LawValue() const {
  QString ignored;
  const std::optional<TargetLaw> target = ReadTarget(ignored);
  return target ? TargetPercent(*target, ReadPercent(ui_->edPosition->text())) : kNaN;
}

double TfmFindResistor::Wanted() const {
  return wantedFollowsTarget_ ? LawValue() : ReadPercent(ui_->edWanted->text());
}

std::optional<TargetLaw> TfmFindResistor::ReadTarget(QString& problem) const {
  TargetLaw target;
  target.which = Montage();
  const int row = ui_->cbTarget->currentIndex();
  if (row == kOther) {
    const double mid = ReadPercent(ui_->edTargetMid->text());
    if (std::isnan(mid)) {
      problem = NotANumber(QStringLiteral("La valeur à mi-course"), ui_->edTargetMid->text());
      return std::nullopt;
    }
    if (!(mid > 0 && mid < 100)) {
      problem =
          QString::fromUtf8("La valeur à mi-course doit être comprise entre 0 et 100 %, bornes exclues.");
      return std::nullopt;
    }
    target.midPercent = mid;
  } else if (row > kIdeal) {
    target.midPercent = (target.which == Fitted::R1 ? kCodesR1 : kCodesR2)[row - 1];
  }
  return target;
}

std::optional<FinderSetup> TfmFindResistor::ReadSetup(QString& problem) const {
  FinderSetup s;
  const std::optional<TargetLaw> target = ReadTarget(problem);
  if (!target) return std::nullopt;
  s.target = *target;
  s.p = p1_;

  // The load and the tolerances as the load dialog reads and refuses them.
  s.loadOhms = ReadLoadOhms(NotationBytes(ui_->edLoad->text().trimmed()), separator_);
  problem = LoadProblem(ui_->edLoad->text(), separator_);
  if (problem.isEmpty()) problem = ToleranceProblem("de P1", ui_->edPotTolerance->text(), separator_);
  if (problem.isEmpty())
    problem = ToleranceProblem("de la résistance", ui_->edResistorTolerance->text(), separator_);
  if (!problem.isEmpty()) return std::nullopt;
  s.potTolerancePercent = ReadTolerance(ui_->edPotTolerance->text().toStdString(), separator_);
  s.resistorTolerancePercent = ReadTolerance(ui_->edResistorTolerance->text().toStdString(), separator_);

  const struct {
    QLineEdit* edit;
    const char* name;
    double* into;
  } fields[] = {
      {ui_->edRangeFrom, "Le début de la plage", &s.rangeFromPercent},
      {ui_->edRangeTo, "La fin de la plage", &s.rangeToPercent},
  };
  for (const auto& f : fields) {
    *f.into = ReadPercent(f.edit->text());
    if (std::isnan(*f.into)) {
      problem = NotANumber(QString::fromUtf8(f.name), f.edit->text());
      return std::nullopt;
    }
    if (!(*f.into >= 0 && *f.into <= 100)) {
      problem = QString::fromUtf8("%1 doit valoir de 0 à 100 %.").arg(QString::fromUtf8(f.name));
      return std::nullopt;
    }
  }
  if (s.rangeFromPercent > s.rangeToPercent) {
    problem = QString::fromUtf8("Le début de la plage doit précéder sa fin.");
    return std::nullopt;
  }
  return s;
}

void TfmFindResistor::ShowMessage(const QString& message) {
  ui_->lstValues->clear();
  ui_->lblExact->setText(QStringLiteral("-"));
  // A number keeps its groups and its unit on its line.
  static const QRegularExpression glue(QStringLiteral("(?<=\\d) (?=[\\dΩ%])"));
  ui_->lblMessage->setText(QString(message).replace(glue, QString(QChar::Nbsp)));
  ui_->stkResults->setCurrentWidget(ui_->lblMessage);
  ui_->btnApply->setEnabled(false);
  setup_.reset();
  DrawPreview();
}

QString TfmFindResistor::ReasonText(const FinderOutcome& outcome, double position) const {
  const QString at = ShownDecimal(position, 2, true, separator_);
  switch (outcome.reason) {
    case FinderReason::None:
      break;
    case FinderReason::NoP:
      return QString::fromUtf8(
          "P1 n'a pas de valeur utilisable : saisissez-la dans la fenêtre principale (par exemple 100K).");
    case FinderReason::PositionNotANumber:
      return NotANumber(QStringLiteral("La position du curseur"), ui_->edPosition->text());
    case FinderReason::PositionOutside:
      return QString::fromUtf8(
          "La position doit être comprise entre 0 et 100 %, bornes exclues : aux extrémités de la course, "
          "aucune résistance ne change la courbe.");
    case FinderReason::WantedNotANumber:
      return NotANumber(QStringLiteral("La valeur voulue"), ui_->edWanted->text());
    case FinderReason::OutOfReach:
      return QString::fromUtf8(
                 "Hors de portée : il faudrait %1, au-delà de 4 294 967 295 Ω, la plus "
                 "grande valeur que la notation puisse écrire. Choisissez une valeur "
                 "voulue plus éloignée de la courbe sans résistance.")
          .arg(QString::fromStdString(
                   GroupThousands(std::to_string(std::llround(std::min(outcome.exactOhms, 9e18))), " ")) +
               QString::fromUtf8(" Ω"));
    case FinderReason::R2OnlyLowers:
      return QString::fromUtf8(
                 "Aucune résistance R2 ne donne cette valeur : R2 ne peut qu'abaisser "
                 "la courbe. À %1 % de la course, choisissez une valeur comprise entre "
                 "0 et %2 %, bornes exclues.")
          .arg(at, Near(outcome.unfittedPercent, separator_));
    case FinderReason::R1OnlyRaises:
      return QString::fromUtf8(
                 "Aucune résistance R1 ne donne cette valeur : R1 ne peut que relever "
                 "la courbe. À %1 % de la course, choisissez une valeur comprise entre "
                 "%2 et 100 %, bornes exclues.")
          .arg(at, Near(outcome.unfittedPercent, separator_));
    case FinderReason::TooLarge:
      return QString::fromUtf8(
          "Aucune résistance ne donne cette valeur : elle serait trop grande pour être calculée.");
  }
  return {};
}

void TfmFindResistor::Recompute() {
  const double position = ReadPercent(ui_->edPosition->text());
  QString problem;
  std::optional<FinderSetup> setup = ReadSetup(problem);
  FinderOutcome outcome;
  if (setup) {
    setup->positionPercent = position;
    const int index = std::clamp(ui_->cbSeries->currentIndex(), 0, int(ESeries::E192));
    outcome = FindStandardValues(*setup, Wanted(), ESeries(index), kPerSide);
  } else if (!(p1_ > 0) || !std::isfinite(p1_)) {
    // Without P1 no field matters.
    outcome.reason = FinderReason::NoP;
  } else {
    return ShowMessage(problem);
  }
  if (outcome.reason != FinderReason::None) {
    ShowMessage(ReasonText(outcome, position));
    if (outcome.reason == FinderReason::OutOfReach)
      ui_->lblExact->setText(QString::fromUtf8("hors de portée"));
    return;
  }
  ui_->lblExact->setText(ExactOhms(outcome.exactOhms, separator_));

  setup_ = setup;
  ui_->lstValues->headerItem()->setText(
      kCurve, QString::fromUtf8("À %1 %").arg(ShownDecimal(position, 2, true, separator_)));
  const QSignalBlocker quiet(ui_->lstValues);
  ui_->lstValues->clear();
  QTreeWidgetItem* closest = nullptr;
  for (size_t i = 0; i < outcome.rows.size(); ++i) {
    const FinderRow& r = outcome.rows[i];
    auto* item = new QTreeWidgetItem(
        ui_->lstValues,
        {QString::fromStdString(StandardValueCaption(r.ohms, separator_)),
         PercentText(r.percent, 1) + QStringLiteral(" %"), Db(r.decibels, separator_),
         QString::fromUtf8("%1 à %2 %").arg(PercentText(r.bandLow, 1), PercentText(r.bandHigh, 1)),
         Db(r.gangDecibels, separator_), QStringLiteral("%1 points").arg(PercentText(r.gapPoints, 1)),
         Db(r.gapDecibels, separator_)});
    item->setData(0, Qt::UserRole, r.ohms);
    for (int c = kCurve; c <= kGapDb; ++c) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    if (int(i) == outcome.closest) closest = item;
  }
  ui_->lstValues->setCurrentItem(closest);
  ui_->stkResults->setCurrentWidget(ui_->lstValues);
  ui_->btnApply->setEnabled(ChosenValue().has_value());
  DrawPreview();
}

QString TfmFindResistor::PreviewDescription() const {
  QString ignored;
  const std::optional<TargetLaw> target = ReadTarget(ignored);
  if (!target) return QString::fromUtf8("Aucune courbe affichée.");
  const auto percent = [this](double value) { return ShownDecimal(value, 1, false, separator_); };
  const auto sentence = [](const QString& name, const QStringList& values) {
    return QString::fromUtf8("%1 : %2 de la course.").arg(name, values.join(QStringLiteral(", ")));
  };
  QStringList law, curve, band;
  const std::optional<double> chosen = setup_ ? ChosenValue() : std::nullopt;
  // Read once, as a plain value: the optimiser cannot then think it unset.
  const double ohms = chosen.value_or(std::numeric_limits<double>::quiet_NaN());
  for (const int at : {25, 50, 75}) {
    const QString where = QString::fromUtf8(" à %1 %").arg(at);
    law << percent(TargetPercent(*target, at)) + where;
    if (!chosen) continue;
    const Fitted which = setup_->target.which;
    curve << percent(LoadedPercentWithLoad(which, p1_, ohms, setup_->loadOhms, at)) + where;
    const PercentBand b = LoadedBandAt(which, p1_, setup_->potTolerancePercent, ohms,
                                       setup_->resistorTolerancePercent, setup_->loadOhms, at);
    band << QString::fromUtf8("%1 à %2 %").arg(percent(b.low), percent(b.high)) + where;
  }
  QString text = sentence(QString::fromUtf8("Loi visée"), law);
  if (chosen)
    text += u' ' +
            sentence(QString::fromUtf8("Valeur choisie ") +
                         QString::fromStdString(StandardValueCaption(ohms, separator_)),
                     curve) +
            u' ' + sentence(QString::fromUtf8("Bande de tolérance"), band);
  return text;
}

void TfmFindResistor::DrawPreview() {
  chart::TChart& chart = *ui_->chPreview;
  for (int i = 0; i < chart.SeriesCount(); ++i) chart.Series(i)->RemoveAllPoints();
  chart::NotifyAccessibleChartChanged(chart);  // the description follows
  // The law is drawn whenever it can be read, whatever else is wrong.
  QString ignored;
  const std::optional<TargetLaw> target = ReadTarget(ignored);
  if (!target) return;
  const std::optional<double> chosen = setup_ ? ChosenValue() : std::nullopt;
  const auto y = [this](double percent) { return decibels_ ? ChartDecibels(percent) : percent; };
  for (int i = 0; i <= 100; ++i) {
    chart.Series(0)->AddPoint(i, y(TargetPercent(*target, i)), QString(), gfx::clAutomatic);
    if (!chosen) continue;
    const Fitted which = setup_->target.which;
    const PercentBand band = LoadedBandAt(which, p1_, setup_->potTolerancePercent, *chosen,
                                          setup_->resistorTolerancePercent, setup_->loadOhms, i);
    chart.Series(1)->AddPoint(i, y(LoadedPercentWithLoad(which, p1_, *chosen, setup_->loadOhms, i)),
                              QString(), gfx::clAutomatic);
    chart.Series(2)->AddPoint(i, y(band.low), QString(), gfx::clAutomatic);
    chart.Series(3)->AddPoint(i, y(band.high), QString(), gfx::clAutomatic);
  }
}

void ApplyFittedResistor(TfmMain& window, Fitted which, double ohms) {
  window.ApplyFittedResistor(which, FromNotationBytes(StandardValueText(ohms, window.DecimalSeparator())));
}

void FindResistor(TfmMain& window) {
  const TfmMain::BoxCircuit circuit = window.CircuitInBoxes();
  TfmFindResistor dialog(&window, circuit.p1, window.DecimalSeparator(),
                         circuit.r1Fitted ? Fitted::R1 : Fitted::R2, window.Decibels());
  dialog.SetLoadSettings(window.Load());
  if (dialog.exec() != QDialog::Accepted) return;
  // "Appliquer" is only offered when every field reads.
  const std::optional<double> value = dialog.ChosenValue();
  const std::optional<LoadSettings> load = dialog.ReadLoadSettings();
  if (!value || !load) return;
  window.SetLoad(*load);
  ApplyFittedResistor(window, dialog.Montage(), *value);
}

}  // namespace dorvane::forms
