#include "controls/flat_edit.h"

#include <limits>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

#include "controls/parent_colour.h"
#include "gfx/canvas.h"
#include "gfx/property.h"

namespace dorvane::controls {

namespace {

// Whether the key would type its character under Alt or Ctrl.
bool TypesUnderAltOrCtrl(const QKeyEvent& event) {
  const Qt::KeyboardModifiers m = event.modifiers();
  const bool alt = m.testFlag(Qt::AltModifier), ctrl = m.testFlag(Qt::ControlModifier);
  // Neither, or both: Windows' AltGr.
  if (alt == ctrl || m.testFlag(Qt::GroupSwitchModifier)) return false;
  const QString text = event.text();
  return !text.isEmpty() && text.front().isPrint();
}

QKeyEvent WithoutText(const QKeyEvent& event) {
  return QKeyEvent(event.type(), event.key(), event.modifiers(), event.nativeScanCode(),
                   event.nativeVirtualKey(), event.nativeModifiers(), QString(), event.isAutoRepeat(),
                   quint16(event.count()), event.device());
}

class AltAndCtrlTypingFilter : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !TypesUnderAltOrCtrl(*static_cast<QKeyEvent*>(event)))
      return QObject::eventFilter(watched, event);
    QKeyEvent bare = WithoutText(*static_cast<QKeyEvent*>(event));
    QCoreApplication::sendEvent(watched, &bare);
    // Unused, it goes on to the window as the key it was.
    event->setAccepted(bare.isAccepted());
    return true;
  }
};

}  // namespace

void RefuseAltAndCtrlTyping(QWidget& root) {
  auto* filter = new AltAndCtrlTypingFilter(&root);
  for (QLineEdit* edit : root.findChildren<QLineEdit*>()) edit->installEventFilter(filter);
}

TFlatEdit::TFlatEdit(QWidget* parent) : QLineEdit(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  // The notation has no length limit; QLineEdit's default would cut a paste.
  setMaxLength(std::numeric_limits<int>::max());
  connect(this, &QLineEdit::textChanged, this, &TFlatEdit::textWasChanged);
  applyLook();
  applyColours();
}

void TFlatEdit::setFlat(bool on) {
  if (!gfx::SetField(flat_, on)) return;
  applyLook();
  applyColours();
}

void TFlatEdit::setFlatLineColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, flatLineColor_, c);
}

void TFlatEdit::setFlatParentColor(bool on) {
  if (gfx::SetField(flatParentColor_, on)) applyColours();
}

void TFlatEdit::setColor(gfx::Colour c) {
  if (gfx::SetField(color_, c)) applyColours();
}

void TFlatEdit::setFontColor(gfx::Colour c) {
  if (gfx::SetField(fontColor_, c)) applyColours();
}

void TFlatEdit::setFocusColor(gfx::Colour c) {
  if (gfx::SetField(focusColor_, c)) applyColours();
}

void TFlatEdit::setFocusFontColor(gfx::Colour c) {
  if (gfx::SetField(focusFontColor_, c)) applyColours();
}

void TFlatEdit::setDisabledColor(gfx::Colour c) {
  if (gfx::SetField(disabledColor_, c)) applyColours();
}

void TFlatEdit::setShowModified(bool on) {
  if (gfx::SetField(showModified_, on)) applyColours();
}

void TFlatEdit::setShowError(bool on) {
  if (gfx::SetField(showError_, on)) applyColours();
}

void TFlatEdit::setErrorColor(gfx::Colour c) {
  if (gfx::SetField(errorColor_, c)) applyColours();
}

void TFlatEdit::setErrorFontColor(gfx::Colour c) {
  if (gfx::SetField(errorFontColor_, c)) applyColours();
}

void TFlatEdit::setBorderStyle(TBorderStyle s) {
  if (gfx::SetField(borderStyle_, s)) applyLook();
}

void TFlatEdit::setValueValidator(std::function<bool(const QString&)> validator) {
  validator_ = std::move(validator);
}

gfx::Colour TFlatEdit::CurrentBackground() const {
  const gfx::Colour normal = flat_ && flatParentColor_ ? ParentColour(*this, color_) : color_;
  if (!isEnabled()) return disabledColor_;
  if (error_ && showError_) return errorColor_;
  if (hasFocus()) {
    const gfx::Colour focus = flat_ && flatParentColor_ ? normal : focusColor_;
    if (focus != gfx::clNone) return focus;
  }
  return normal;
}

gfx::Colour TFlatEdit::CurrentTextColour() const {
  if (isEnabled() && error_ && showError_) return errorFontColor_;
  if (isEnabled() && hasFocus() && !showModified_ && focusFontColor_ != gfx::clNone) return focusFontColor_;
  return fontColor_;
}

// Flat: no frame, the text in (2, 4)-(width - 2, height - 4). QLineEdit
// puts its text line 2 pixels in and 1 pixel down from its contents.
void TFlatEdit::applyLook() {
  if (flat_) {
    setFrame(false);
    setTextMargins(0, 3, 0, 3);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
  } else {
    setFrame(borderStyle_ == bsSingle);
    setTextMargins(0, 0, 0, 0);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  update();
}

void TFlatEdit::applyColours() {
  const QColor base = gfx::ToQColor(CurrentBackground());
  const QColor text = gfx::ToQColor(CurrentTextColour());
  if (base == appliedBase_ && text == appliedText_) return;
  appliedBase_ = base;
  appliedText_ = text;
  QPalette pal = palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    pal.setColor(group, QPalette::Base, base);
    pal.setColor(group, QPalette::Window, base);
    // A disabled box keeps its text readable on the grey.
    pal.setColor(group, QPalette::Text, text);
  }
  setPalette(pal);
  update();
}

void TFlatEdit::textWasChanged() {
  emit OnChange();
  if (!showError_) return;
  const bool invalid = validator_ && !validator_(text());
  if (gfx::SetField(error_, invalid)) applyColours();
}

void TFlatEdit::paintEvent(QPaintEvent* event) {
  {
    // Our own fill covers the whole box whatever the style leaves out.
    QPainter painter(this);
    painter.fillRect(rect(), appliedBase_);
  }
  QLineEdit::paintEvent(event);
  if (!flat_ || flatLineColor_ == gfx::clNone) return;
  QPainter painter(this);
  gfx::Canvas canvas(painter);
  canvas.setPen({flatLineColor_, 1, gfx::PenStyle::Solid});
  canvas.line(0, height() - 1, width(), height() - 1);
}

void TFlatEdit::focusInEvent(QFocusEvent* event) {
  focusText_ = text();
  QLineEdit::focusInEvent(event);
  applyColours();
  if (autoSelect_)
    selectAll();
  else
    deselect();
}

void TFlatEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  applyColours();
}

void TFlatEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Never reaches the text; with ReturnIsTab it moves the focus on.
      if (returnIsTab_) {
        focusNextChild();
        event->accept();
      } else {
        event->ignore();
      }
      return;
    case Qt::Key_Escape:
      if (canUndo_ && text() != focusText_) {
        setText(focusText_);
        event->accept();
        return;
      }
      break;
    default:
      if (TypesUnderAltOrCtrl(*event)) {
        QKeyEvent bare = WithoutText(*event);
        QLineEdit::keyPressEvent(&bare);
        event->setAccepted(bare.isAccepted());
        return;
      }
      break;
  }
  QLineEdit::keyPressEvent(event);
}

void TFlatEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ParentChange) applyColours();
}

}  // namespace dorvane::controls
