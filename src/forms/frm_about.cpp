#include "forms/frm_about.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScreen>

#include "controls/form_fill.h"
#include "forms/pictures.h"
#include "gfx/fonts.h"
#include "ui_frm_about.h"

namespace dorvane::forms {

TfmAbout::TfmAbout(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TfmAbout>()), FormFill1(new controls::TFormFill(this)) {
  InitPictures();
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
  ApplyFonts();

  FormFill1->setStyle(controls::TFormFill::sfBitmap);
  FormFill1->setPicture(MarblePicture());
  FormFill1->Attach(this);

  // The layout is loaded: the labels size themselves to their text.
  for (auto* label : {ui_->SimpleLabel1, ui_->SimpleLabel2}) label->Loaded();
  for (auto* label : {ui_->InformationLabel1, ui_->InformationLabel2, ui_->InformationLabel3}) label->Loaded();
  // The two halves of the name join: the right one starts where the left
  // one's text ends (both draw their text at the same offset).
  const QFontMetrics title(ui_->SimpleLabel1->font());
  ui_->SimpleLabel2->move(ui_->SimpleLabel1->x() + title.horizontalAdvance(ui_->SimpleLabel1->Caption()),
                          ui_->SimpleLabel2->y());
  // The description sizes itself to its text, its right edge fixed.
  const QRect d = ui_->Label2->geometry();
  const int width = QFontMetrics(ui_->Label2->font()).horizontalAdvance(ui_->Label2->text());
  ui_->Label2->setGeometry(d.right() + 1 - width, d.top(), width, d.height());

  FormCreate();
}

TfmAbout::~TfmAbout() = default;

void TfmAbout::ApplyFonts() {
  // Pixel sizes, as the layout was drawn; a .ui file only knows points.
  setFont(gfx::PixelFont(QStringLiteral("Arial"), 11));
  ui_->lblInitStatus->setFont(gfx::PixelFont(QStringLiteral("Arial"), 11, true));
  const QFont title = gfx::PixelFont(QStringLiteral("Arial"), 24, true);
  ui_->SimpleLabel1->setFont(title);
  ui_->SimpleLabel2->setFont(title);
}

void TfmAbout::FormCreate() {
  ui_->ScrollText1->setScroll(false);
  QIcon icon = QApplication::windowIcon();
  // A program that set no icon of its own still shows Dorvane's.
  if (icon.isNull()) icon = ProgramIcon();
  ui_->ProgramIcon->setPixmap(icon.pixmap(ui_->ProgramIcon->size()));
}

void TfmAbout::FormClose() { ui_->ScrollText1->setScroll(false); }

void TfmAbout::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TfmAbout::CentreOnScreen() {
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = frameGeometry();
  frame.moveCenter(screen->geometry().center());
  move(frame.topLeft());
}

void TfmAbout::showEvent(QShowEvent* event) {
  CentreOnScreen();
  QDialog::showEvent(event);
}

void TfmAbout::keyPressEvent(QKeyEvent* event) {
  // There is no cancel button: Esc does nothing.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void ShowAboutBox(QWidget* parent) {
  // Destroyed when this scope ends, also when exec() throws.
  TfmAbout fmAbout(parent);
  fmAbout.exec();
}

}  // namespace dorvane::forms
