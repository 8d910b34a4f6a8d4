#include "controls/label.h"
#include "gfx/fonts.h"

#include <algorithm>

#include <QAccessible>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>

#include "controls/markup.h"
#include "gfx/canvas.h"

namespace dorvane::controls {

namespace {
constexpr unsigned kLineFlags = gfx::kSingleLine | gfx::kExpandTabs | gfx::kMnemonics | gfx::kNoClip;
}

TLabel::TLabel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
}

void TLabel::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  textChanged();
  QAccessibleEvent event(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

void TLabel::setFontColor(gfx::Colour c) {
  if (fontColor_ == c) return;
  fontColor_ = c;
  update();
}

void TLabel::setAlignment(TAlignment a) {
  if (alignment_ == a) return;
  alignment_ = a;
  update();
}

void TLabel::setAutoSize(bool on) {
  if (autoSize_ == on) return;
  autoSize_ = on;
  if (on) textChanged();
}

void TLabel::setTransparent(bool on) {
  if (transparent_ == on) return;
  transparent_ = on;
  update();
}

void TLabel::setColor(gfx::Colour c) {
  if (color_ == c) return;
  color_ = c;
  update();
}

QStringList TLabel::Lines() const {
  static const QRegularExpression kBreak(QStringLiteral("\r\n|\r|\n"));
  return caption_.split(kBreak);
}

void TLabel::textChanged() {
  if (testAttribute(Qt::WA_WState_Polished)) AdjustBounds();
  update();
}

void TLabel::AdjustBounds() {
  if (!autoSize_) return;
  const QFontMetrics fm(font());
  const QStringList lines = Lines();
  int w = 0;
  for (const QString& line : lines) w = std::max(w, fm.horizontalAdvance(gfx::WithoutMnemonics(line)));
  const int h = gfx::LineHeight(font()) * int(lines.size());
  const int left = alignment_ == taRightJustify ? geometry().right() + 1 - w : x();
  setGeometry(left, y(), w, h);
}

bool TLabel::event(QEvent* e) {
  const bool done = QWidget::event(e);
  // Sizing waits for the end of loading; a font change re-measures.
  if (e->type() == QEvent::Polish ||
      (e->type() == QEvent::FontChange && testAttribute(Qt::WA_WState_Polished)))
    AdjustBounds();
  return done;
}

void TLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  gfx::Canvas canvas(painter);
  if (!transparent_) canvas.fillRect({0, 0, width(), height()}, color_);
  canvas.setFont(font());
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);
  const unsigned align = alignment_ == taRightJustify ? gfx::kAlignRight
                         : alignment_ == taCenter     ? gfx::kAlignCenter
                                                      : gfx::kAlignLeft;
  const int lineHeight = gfx::LineHeight(font());
  const QStringList lines = Lines();
  auto drawLines = [&](int dx, int dy) {
    for (int i = 0; i < lines.size(); ++i)
      canvas.drawText(gfx::Rect{dx, dy + i * lineHeight, width() + dx, dy + (i + 1) * lineHeight}, lines[i],
                      kLineFlags | align);
  };
  if (isEnabled()) {
    canvas.setFontColour(fontColor_);
    drawLines(0, 0);
  } else {
    // The classic engraved look: a white copy down and right, grey on top.
    canvas.setFontColour(gfx::clBtnHighlight);
    drawLines(1, 1);
    canvas.setFontColour(gfx::clBtnShadow);
    drawLines(0, 0);
  }
}

}  // namespace dorvane::controls
