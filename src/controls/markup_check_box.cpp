#include "controls/markup_check_box.h"

#include <array>

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>

#include "controls/look.h"
#include "gfx/canvas.h"
#include "gfx/engraved.h"
#include "gfx/property.h"

namespace dorvane::controls {

namespace {

constexpr int kBitmapSize = 16;
constexpr int kThemedBoxSize = 14;
constexpr int kClassicBoxSize = 13;

// The unthemed boxes, row by row: '.' transparent magenta, '#' frame,
// 'o' and 'g' the two face tints, 'w' white, 'v' the tick.
constexpr std::array<const char*, 16> kChecked{
    "................", ".#############..", ".#ogooooooooo#..", ".#ogogooooooo#..",
    ".#gooooooovoo#..", ".#ooooooovvoo#..", ".#oovooovvvoo#..", ".#oovvovvvoow#..",
    ".#oovvvvvoowo#..", ".#ooovvvoowow#..", ".#oooovoowoww#..", ".#oooooowwwww#..",
    ".#ooooowowwww#..", ".#############..", "................", "................",
};
constexpr std::array<const char*, 16> kUnchecked{
    "................", ".#############..", ".#gggggoooooo#..", ".#gggggoooooo#..",
    ".#gggoooooooo#..", ".#gggoooooooo#..", ".#goooooooooo#..", ".#ogooooooooo#..",
    ".#oooooooooow#..", ".#oooooooooww#..", ".#oooooooowww#..", ".#ooooooowwww#..",
    ".#ooooowowwww#..", ".#############..", "................", "................",
};

QRgb PixelColour(char c, bool disabled) {
  switch (c) {
    case '#':
      return disabled ? qRgb(0xC0, 0xDC, 0xC0) : qRgb(0x20, 0x60, 0x80);
    case 'o':
      return qRgb(0xFF, 0xFB, 0xF0);
    case 'g':
      return qRgb(0xC0, 0xDC, 0xC0);
    case 'w':
      return qRgb(0xFF, 0xFF, 0xFF);
    case 'v':
      return disabled ? qRgb(0xC0, 0xDC, 0xC0) : qRgb(0x20, 0xA0, 0x40);
    default:
      return qRgb(0xFF, 0x00, 0xFF);
  }
}

QImage BuildBitmap(int number) {
  const bool checked = number == 5 || number == 7;
  const bool disabled = number == 7 || number == 8;
  const auto& rows = checked ? kChecked : kUnchecked;
  QImage image(kBitmapSize, kBitmapSize, QImage::Format_RGB32);
  for (int y = 0; y < kBitmapSize; ++y)
    for (int x = 0; x < kBitmapSize; ++x) image.setPixel(x, y, PixelColour(rows[size_t(y)][x], disabled));
  return image;
}

// The picture with its bottom-left colour made transparent, ready to draw.
const QImage& MaskedBitmap(int number) {
  static const std::array<QImage, 4> images = [] {
    std::array<QImage, 4> out;
    for (int i = 0; i < 4; ++i) {
      const QImage src = BuildBitmap(5 + i);
      const QRgb key = src.pixel(0, kBitmapSize - 1);
      QImage masked = src.convertToFormat(QImage::Format_ARGB32);
      for (int y = 0; y < kBitmapSize; ++y)
        for (int x = 0; x < kBitmapSize; ++x)
          if (src.pixel(x, y) == key) masked.setPixel(x, y, qRgba(0, 0, 0, 0));
      out[size_t(i)] = masked;
    }
    return out;
  }();
  return images[size_t(number - 5)];
}

}  // namespace

QImage TCustomMarkupCheckBox::CheckBoxBitmap(int number) {
  if (number < 5 || number > 8) return {};
  return BuildBitmap(number);
}

void TCustomMarkupCheckBox::SetThemedLook(bool themed) {
  controls::SetThemedLook(themed);
}
bool TCustomMarkupCheckBox::ThemedLook() {
  return controls::ThemedLook();
}

TCustomMarkupCheckBox::TCustomMarkupCheckBox(QWidget* parent)
    : QWidget(parent), caption_(QStringLiteral("TCustomMarkupCheckBox")) {
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  setFocusPolicy(Qt::ClickFocus);
  resize(98, 20);
}

void TCustomMarkupCheckBox::setCaption(const QString& caption) {
  if (!gfx::SetAndUpdate(*this, caption_, caption)) return;
  QAccessibleEvent event(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

void TCustomMarkupCheckBox::setState(TCheckBoxState state) {
  if (!gfx::SetAndUpdate(*this, state_, state)) return;
  QAccessible::State changed;
  changed.checked = true;
  changed.checkStateMixed = true;
  QAccessibleStateChangeEvent event(this, changed);
  QAccessible::updateAccessibility(&event);
}

void TCustomMarkupCheckBox::setButtonType(TButtonType t) {
  gfx::SetAndUpdate(*this, buttonType_, t);
}

void TCustomMarkupCheckBox::setAlignment(TLeftRight a) {
  gfx::SetAndUpdate(*this, alignment_, a);
}

void TCustomMarkupCheckBox::setButtonVertAlign(TTextLayout l) {
  gfx::SetAndUpdate(*this, vertAlign_, l);
}

void TCustomMarkupCheckBox::setTransparent(bool on) {
  gfx::SetAndUpdate(*this, transparent_, on);
}

void TCustomMarkupCheckBox::setEllipsis(bool on) {
  gfx::SetAndUpdate(*this, ellipsis_, on);
}

void TCustomMarkupCheckBox::setURLColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, urlColor_, c);
}

void TCustomMarkupCheckBox::setShadowColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, shadowColor_, c);
}

void TCustomMarkupCheckBox::setShadowOffset(int offset) {
  gfx::SetAndUpdate(*this, shadowOffset_, offset);
}

void TCustomMarkupCheckBox::setCheckColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, checkColor_, c);
}

void TCustomMarkupCheckBox::setFontColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, fontColor_, c);
}

void TCustomMarkupCheckBox::setColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, color_, c);
}

void TCustomMarkupCheckBox::setTabStop(bool on) {
  setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}

void TCustomMarkupCheckBox::Toggle() {
  if (readOnly_) return;
  setState(state_ == cbChecked ? cbUnchecked : cbChecked);
}

bool TCustomMarkupCheckBox::Click() {
  Toggle();
  // The handler may delete the box.
  const QPointer<TCustomMarkupCheckBox> alive(this);
  emit OnClick();
  return !alive.isNull();
}

bool TCustomMarkupCheckBox::bitmapBox() const {
  return buttonType_ == btWinXP && !controls::ThemedLook();
}

QRect TCustomMarkupCheckBox::BoxRect() const {
  const int w = width(), h = height();
  if (bitmapBox()) {
    const int left = alignment_ == taLeftJustify ? 0 : w - kBitmapSize - 1;
    const int top = vertAlign_ == tlTop      ? 2
                    : vertAlign_ == tlCenter ? h / 2 - kBitmapSize / 2
                                             : h - kBitmapSize;
    return {left, top, kBitmapSize, kBitmapSize};
  }
  if (buttonType_ == btWinXP) {
    const int left = alignment_ == taLeftJustify ? 0 : w - 15;
    const int top = vertAlign_ == tlTop ? 4 : vertAlign_ == tlCenter ? h / 2 - 6 : h - kThemedBoxSize;
    return {left, top, kThemedBoxSize, kThemedBoxSize};
  }
  // The looks the program does not use: the standard 13 x 13 box.
  return {alignment_ == taLeftJustify ? 0 : w - kClassicBoxSize, 4, kClassicBoxSize, kClassicBoxSize};
}

gfx::Rect TCustomMarkupCheckBox::CaptionRect() const {
  const int offset = 12 + (bitmapBox() ? 10 : 5);
  gfx::Rect r{0, 0, width(), height()};
  if (alignment_ == taLeftJustify)
    r.left = offset;
  else
    r.right -= offset;
  r.top += 4;
  return r;
}

void TCustomMarkupCheckBox::drawBox(QPainter& painter) const {
  const QRect box = BoxRect();
  const bool checked = state_ == cbChecked;
  if (bitmapBox()) {
    const int number = isEnabled() ? (checked ? 5 : 6) : (checked ? 7 : 8);
    painter.drawImage(box.topLeft(), MaskedBitmap(number));
    return;
  }
  // State columns tested left to right: a disabled box is never pressed or hot.
  QStyleOptionButton opt;
  opt.initFrom(this);
  opt.rect = box;
  opt.state = QStyle::State_None;
  if (isEnabled()) {
    opt.state |= QStyle::State_Enabled;
    if (buttonType_ == btWinXP && down_)
      opt.state |= QStyle::State_Sunken;
    else if (buttonType_ == btWinXP && hot_)
      opt.state |= QStyle::State_MouseOver;
  }
  opt.state |= checked ? QStyle::State_On : QStyle::State_Off;
  style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &painter, this);
}

void TCustomMarkupCheckBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!transparent_) painter.fillRect(rect(), gfx::ToQColor(color_));
  drawBox(painter);

  gfx::Canvas canvas(painter);
  canvas.setFont(font());
  const gfx::Rect caption = CaptionRect();
  MarkupOptions options{!ellipsis_, urlColor_, shadowColor_, shadowOffset_, 0};
  MarkupExtent extent;
  if (isEnabled()) {
    canvas.setFontColour(fontColor_);
    extent = DrawMarkup(canvas, caption_, caption, options);
  } else {
    // Engraved in plain white and grey, not the system's colours. Text in a
    // colour tag keeps its colour in both passes.
    gfx::DrawEngraved(
        [&](int dx, int dy, gfx::Colour colour) {
          canvas.setFontColour(colour);
          options.urlColour = colour;
          extent = DrawMarkup(canvas, caption_, caption.translated(dx, dy), options);
        },
        gfx::clWhite, gfx::clGray);
  }
  if (focused_)
    canvas.focusRect(
        {caption.left, caption.top, caption.left + extent.width + 3, caption.top + extent.height + 1});
}

bool TCustomMarkupCheckBox::inside(QPointF p) const {
  return p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height();
}

void TCustomMarkupCheckBox::mousePressEvent(QMouseEvent* event) {
  // Any button: the first press also takes the focus.
  if (!focused_) {
    setFocus(Qt::MouseFocusReason);
    focused_ = true;
    update();
  }
  mousePressed_ = true;
  down_ = true;
  if (buttonType_ == btWinXP) update();
  event->accept();
}

void TCustomMarkupCheckBox::mouseMoveEvent(QMouseEvent* event) {
  if (mousePressed_) down_ = inside(event->position());
  event->accept();
}

void TCustomMarkupCheckBox::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (!mousePressed_) return;
  mousePressed_ = false;
  down_ = false;
  if (inside(event->position()) && focused_ && !Click()) return;
  if (buttonType_ == btWinXP) update();
}

void TCustomMarkupCheckBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    if (!event->isAutoRepeat()) {
      spacePressed_ = true;
      down_ = true;
      update();
    }
    return;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && returnIsTab_) {
    focusNextChild();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TCustomMarkupCheckBox::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && spacePressed_) {
    spacePressed_ = false;
    down_ = false;
    if (Click()) update();
    return;
  }
  QWidget::keyReleaseEvent(event);
}

void TCustomMarkupCheckBox::focusInEvent(QFocusEvent* event) {
  focused_ = true;
  update();
  QWidget::focusInEvent(event);
}

void TCustomMarkupCheckBox::focusOutEvent(QFocusEvent* event) {
  focused_ = false;
  spacePressed_ = false;
  down_ = false;
  update();
  QWidget::focusOutEvent(event);
}

void TCustomMarkupCheckBox::enterEvent(QEnterEvent* event) {
  hot_ = true;
  if (buttonType_ == btWinXP) update();
  QWidget::enterEvent(event);
}

void TCustomMarkupCheckBox::leaveEvent(QEvent* event) {
  hot_ = false;
  if (buttonType_ == btWinXP) update();
  QWidget::leaveEvent(event);
}

void TCustomMarkupCheckBox::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) update();
  QWidget::changeEvent(event);
}

TMarkupCheckBox::TMarkupCheckBox(QWidget* parent) : TCustomMarkupCheckBox(parent) {
  setCaption(QStringLiteral("TMarkupCheckBox"));
}

}  // namespace dorvane::controls
