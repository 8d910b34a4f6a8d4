#include "controls/flat_combo_box.h"

#include <array>

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "controls/look.h"
#include "controls/parent_colour.h"
#include "gfx/property.h"

namespace dorvane::controls {

TFlatComboBox::TFlatComboBox(QWidget* parent)
    : QComboBox(parent),
      buttonWidth_(style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2),
      labelFont_(font()) {
  setEditable(false);
  setMouseTracking(true);
  // activated() comes from the user only; ItemIndex set from code stays quiet.
  connect(this, &QComboBox::activated, this, [this] { emit OnChange(); });
}

TFlatComboBox::~TFlatComboBox() {
  if (label_) {
    label_->hide();
    label_->deleteLater();
  }
}

void TFlatComboBox::setFlat(bool on) {
  gfx::SetAndUpdate(*this, flat_, on);
}

void TFlatComboBox::setFlatLineColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, flatLineColor_, c);
}

void TFlatComboBox::setFlatParentColor(bool on) {
  gfx::SetAndUpdate(*this, flatParentColor_, on);
}

void TFlatComboBox::setColor(gfx::Colour c) {
  parentColor_ = false;
  gfx::SetAndUpdate(*this, color_, c);
}

void TFlatComboBox::setParentColor(bool on) {
  gfx::SetAndUpdate(*this, parentColor_, on);
}

void TFlatComboBox::setFocusColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, focusColor_, c);
}

void TFlatComboBox::setButtonWidth(int w) {
  if (w >= 14 && w <= 32) gfx::SetAndUpdate(*this, buttonWidth_, w);
}

gfx::Colour TFlatComboBox::CurrentBackground() const {
  if (hasFocus() && focusColor_ != gfx::clNone) return focusColor_;
  // A disabled flat list takes its parent's colour.
  const bool fromParent = parentColor_ || (flat_ && flatParentColor_) || (flat_ && !isEnabled());
  return fromParent ? ParentColour(*this, color_) : color_;
}

// --- caption label ----------------------------------------------------------

void TFlatComboBox::setLabelCaption(const QString& caption) {
  if (labelCaption_ == caption && (label_ || caption.isEmpty())) return;
  labelCaption_ = caption;
  if (!label_ && parentWidget()) {
    label_ = new TLabel(parentWidget());
    label_->setObjectName(objectName() + QStringLiteral("Label"));
    label_->setEnabled(isEnabled() || labelAlwaysEnabled_);
  }
  placeLabel();
}

void TFlatComboBox::setLabelPosition(TLabelPosition p) {
  if (gfx::SetField(labelPosition_, p)) placeLabel();
}

void TFlatComboBox::setLabelMargin(int m) {
  if (gfx::SetField(labelMargin_, m)) placeLabel();
}

void TFlatComboBox::setLabelTransparent(bool on) {
  if (gfx::SetField(labelTransparent_, on)) placeLabel();
}

void TFlatComboBox::setLabelAlwaysEnabled(bool on) {
  if (gfx::SetField(labelAlwaysEnabled_, on) && label_)
    label_->setEnabled(isEnabled() || labelAlwaysEnabled_);
}

void TFlatComboBox::setLabelFont(const QFont& font) {
  if (gfx::SetField(labelFont_, font)) placeLabel();
}

void TFlatComboBox::setLabelFontColor(gfx::Colour c) {
  if (gfx::SetField(labelFontColor_, c) && label_) label_->setFontColor(c);
}

void TFlatComboBox::placeLabel() {
  if (!label_) return;
  label_->setTransparent(labelTransparent_);
  label_->setFont(labelFont_);
  label_->setFontColor(labelFontColor_);
  label_->setCaption(labelCaption_);
  label_->AdjustBounds();
  const int L = x(), T = y(), W = width(), H = height();
  const int w = label_->width(), h = label_->height(), m = labelMargin_;
  const int textWidth = QFontMetrics(labelFont_).horizontalAdvance(labelCaption_);
  int left = L, top = T;
  switch (labelPosition_) {
    case lpLeftTop:
      left = L - textWidth - m;
      top = T;
      break;
    case lpLeftCenter:
      left = L - textWidth - m;
      top = T + (H - h) / 2;
      break;
    case lpLeftBottom:
      left = L - textWidth - m;
      top = T + H - h;
      break;
    case lpTopLeft:
      left = L;
      top = T - h - m;
      break;
    case lpBottomLeft:
      left = L;
      top = T + H + m;
      break;
    case lpLeftTopLeft:
      left = L - m;
      top = T;
      break;
    case lpLeftCenterLeft:
      left = L - m;
      top = T + (H - h) / 2;
      break;
    case lpLeftBottomLeft:
      left = L - m;
      top = T + H - h;
      break;
    case lpTopCenter:
      left = L + (W - w) / 2;
      top = T - h - m;
      break;
    case lpBottomCenter:
      left = L + (W - w) / 2;
      top = T + H + m;
      break;
  }
  label_->move(left, top);
  label_->setVisible(!isHidden());
}

void TFlatComboBox::setVisible(bool visible) {
  QComboBox::setVisible(visible);
  if (label_) label_->setVisible(visible);
}

// --- events -------------------------------------------------------------------

void TFlatComboBox::changeEvent(QEvent* event) {
  QComboBox::changeEvent(event);
  switch (event->type()) {
    case QEvent::EnabledChange:
      if (label_ && !labelAlwaysEnabled_) label_->setEnabled(isEnabled());
      update();
      break;
    case QEvent::ParentChange:
      if (label_) {
        label_->setParent(parentWidget());
        placeLabel();
      } else if (!labelCaption_.isEmpty()) {
        setLabelCaption(labelCaption_);
      }
      break;
    default:
      break;
  }
}

void TFlatComboBox::moveEvent(QMoveEvent* event) {
  QComboBox::moveEvent(event);
  placeLabel();
}

void TFlatComboBox::resizeEvent(QResizeEvent* event) {
  QComboBox::resizeEvent(event);
  placeLabel();
}

void TFlatComboBox::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  update();
}

void TFlatComboBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  update();
}

void TFlatComboBox::enterEvent(QEnterEvent* event) {
  QComboBox::enterEvent(event);
  hot_ = true;
  if (autoFocus_ && isEnabled()) setFocus(Qt::MouseFocusReason);
  update();
}

void TFlatComboBox::leaveEvent(QEvent* event) {
  QComboBox::leaveEvent(event);
  hot_ = false;
  buttonHot_ = false;
  update();
}

void TFlatComboBox::mouseMoveEvent(QMouseEvent* event) {
  QComboBox::mouseMoveEvent(event);
  const bool over = overButton(int(event->position().x()));
  if (over != buttonHot_) {
    buttonHot_ = over;
    update();
  }
}

// --- painting -----------------------------------------------------------------

void TFlatComboBox::paintEvent(QPaintEvent* event) {
  if (!flat_) {
    QComboBox::paintEvent(event);
    return;
  }
  QPainter painter(this);
  gfx::Canvas canvas(painter);
  const int w = width(), h = height(), bw = buttonWidth_;
  const gfx::Colour background = CurrentBackground();
  canvas.fillRect({0, 0, w, h}, background);
  drawButton(painter, canvas, {w - bw + 1, 1, w - 1, h - 1});

  canvas.save();
  canvas.setClipRect({0, 0, w - bw - 4, h});
  drawField(canvas);
  canvas.restore();

  // Three rings over the platform's frame: two in the parent's colour, the
  // inner one in the list's.
  const gfx::Colour outer = ParentColour(*this, color_);
  canvas.frameRect({0, 0, w, h}, outer);
  canvas.frameRect({1, 1, w - 1, h - 1}, outer);
  canvas.frameRect({2, 2, w - 2, h - 2}, background);
  if (flatLineColor_ != gfx::clNone) {
    canvas.setPen({flatLineColor_, 1, gfx::PenStyle::Solid});
    canvas.line(0, h - 1, w - 20, h - 1);
  }
  if (!ThemedLook()) drawFlatFace(canvas);
}

void TFlatComboBox::drawButton(QPainter& painter, gfx::Canvas& canvas, const gfx::Rect& r) const {
  canvas.fillRect(r, gfx::clBtnFace);
  const gfx::Rect arrow{width() - buttonWidth_ + 4, 4, width() - 4, height() - 4};
  // A disabled list greys its text only; the arrow keeps its normal look.
  if (ThemedLook()) {
    QStyleOption opt;
    opt.initFrom(this);
    opt.rect = arrow.toQRect();
    opt.palette.setCurrentColorGroup(QPalette::Active);
    opt.state = QStyle::State_Enabled;
    if (isEnabled() && hot_ && buttonHot_) opt.state |= QStyle::State_MouseOver;
    canvas.save();  // the style leaves no trace in the canvas' painter state
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opt, &painter, this);
    canvas.restore();
    return;
  }
  // The flat fallback: a small solid triangle.
  const int cx = arrow.left + arrow.width() / 2, cy = arrow.top + arrow.height() / 2;
  const std::array<QPoint, 3> pts{QPoint(cx - 3, cy - 1), QPoint(cx + 3, cy - 1), QPoint(cx, cy + 2)};
  canvas.setPen({gfx::clBtnText, 1, gfx::PenStyle::Solid});
  canvas.setBrush({gfx::clBtnText, gfx::BrushStyle::Solid});
  canvas.polygon(pts);
}

void TFlatComboBox::drawField(gfx::Canvas& canvas) const {
  const int w = width(), h = height();
  const gfx::Rect field{3, 3, w - buttonWidth_ - 1, h - 3};
  gfx::Colour text = isEnabled() ? gfx::clWindowText : gfx::clGrayText;
  if (hasFocus() && isEnabled()) {
    canvas.fillRect(field, gfx::clHighlight);
    text = gfx::clHighlightText;
  }
  canvas.setFont(font());
  canvas.setFontColour(text);
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);
  canvas.drawText(gfx::Rect{field.left + 1, field.top, field.right, field.bottom}, currentText(),
                  gfx::kSingleLine | gfx::kAlignVCenter);
}

// Without the style, the button outside its arrow is a flat face unless the
// list is hot or focused, when it gets a raised edge.
void TFlatComboBox::drawFlatFace(gfx::Canvas& canvas) const {
  const int w = width(), h = height(), bw = buttonWidth_;
  const gfx::Rect r{w - bw, 2, w - 2, h - 2};
  if ((hot_ && isEnabled()) || hasFocus()) {
    canvas.frameRect(r, gfx::clBtnShadow);
    canvas.frameRect({r.left, r.top, r.right - 1, r.bottom - 1}, gfx::clBtnHighlight);
    return;
  }
  const gfx::Rect face{r.left, r.top + 1, r.right - 1, r.bottom - 1};
  const gfx::Rect arrow{w - bw + 4, 4, w - 4, h - 4};
  canvas.fillRect({face.left, face.top, face.right, arrow.top}, gfx::clBtnFace);
  canvas.fillRect({face.left, arrow.bottom, face.right, face.bottom}, gfx::clBtnFace);
  canvas.fillRect({face.left, arrow.top, arrow.left, arrow.bottom}, gfx::clBtnFace);
  canvas.fillRect({arrow.right, arrow.top, face.right, arrow.bottom}, gfx::clBtnFace);
}

}  // namespace dorvane::controls
