#include "forms/frm_about.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include "controls/form_fill.h"
#include "forms/accessibility.h"
#include "forms/pictures.h"
#include "gfx/colour.h"
#include "gfx/fonts.h"
#include "ui_frm_about.h"

namespace dorvane::forms {

TfmAbout::TfmAbout(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TfmAbout>()), FormFill1(new controls::TFormFill(this)) {
  InitPictures();
  InstallAccessibility();
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
  ApplyFonts();

  FormFill1->setStyle(controls::TFormFill::sfBitmap);
  FormFill1->setPicture(MarblePicture());
  FormFill1->Attach(this);
  // The marble stays light under a dark palette: so do the texts over it
  // (the button draws its own face and follows the palette).
  for (QLabel* label : findChildren<QLabel*>()) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
  }
  // The name's relief takes the style's own light and shadow, not a dark
  // palette's.
  const QPalette standard = style()->standardPalette();
  for (auto* label : {ui_->SimpleLabel1, ui_->SimpleLabel2}) {
    controls::T3DCaption& relief = *label->Font3D();
    if (relief.LightColor() == gfx::clBtnHighlight)
      relief.setLightColor(gfx::FromQColor(standard.color(QPalette::Light)));
    if (relief.ShadowColor() == gfx::clBtnShadow)
      relief.setShadowColor(gfx::FromQColor(standard.color(QPalette::Dark)));
  }

  // The layout is loaded: the labels size themselves to their text.
  for (auto* label : {ui_->SimpleLabel1, ui_->SimpleLabel2}) label->Loaded();
  for (auto* label : {ui_->InformationLabel1, ui_->InformationLabel2, ui_->InformationLabel3})
    label->Loaded();
  // The two halves of the name join: the right one starts where the left
  // one's text ends (both draw their text at the same offset).
  const QFontMetrics title(ui_->SimpleLabel1->font());
  ui_->SimpleLabel2->move(ui_->SimpleLabel1->x() + title.horizontalAdvance(ui_->SimpleLabel1->Caption()),
                          ui_->SimpleLabel2->y());
  // Plain labels size themselves to their text (the layout's widths were
  // measured with Arial; Liberation Sans is a pixel wider here and there):
  // the left-aligned ones keep their left edge, the right-aligned
  // description its right edge at 289.
  for (QLabel* label : {ui_->lblThanks, ui_->Version, ui_->Copyright, ui_->Comments, ui_->Label2}) {
    const QRect r = label->geometry();
    const int width = QFontMetrics(label->font()).horizontalAdvance(label->text());
    const int left = (label->alignment() & Qt::AlignRight) ? r.right() + 1 - width : r.left();
    label->setGeometry(left, r.top(), width, r.height());
  }

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

void TfmAbout::FormClose() {
  ui_->ScrollText1->setScroll(false);
}

void TfmAbout::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TfmAbout::CentreOnScreen() {
  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  const QScreen* screen = owner ? owner->screen() : this->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  // Before the first showing the window manager's frame is not known yet;
  // the owner's frame is the best guess of it.
  const auto margins = [](const QWidget* w) {
    const QRect f = w->frameGeometry(), g = w->geometry();
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
  };
  QMargins frameMargins = margins(this);
  if (frameMargins.isNull() && owner) frameMargins = margins(owner);
  QRect frame = geometry().marginsAdded(frameMargins);
  frame.moveCenter(screen->geometry().center());
  // move() marks the box as placed (so the dialog does not centre it over
  // its owner) but places the client area where the frame should go; the
  // window's frame position lets the window manager put the frame there.
  move(frame.topLeft());
  if (QWindow* window = windowHandle()) window->setFramePosition(frame.topLeft());
}

void TfmAbout::showEvent(QShowEvent* event) {
  CentreOnScreen();
  QDialog::showEvent(event);
}

void TfmAbout::keyPressEvent(QKeyEvent* event) {
  // There is no cancel button: Esc does nothing.
  if (event->matches(QKeySequence::Cancel)) {
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
