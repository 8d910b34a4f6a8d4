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
#include "gfx/engraved.h"
#include "gfx/property.h"

namespace dorvane::controls {

namespace {
constexpr unsigned kLineFlags = gfx::kSingleLine | gfx::kExpandTabs | gfx::kMnemonics | gfx::kNoClip;
}

TLabel::TLabel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
}

void TLabel::setCaption(const QString& caption) {
  if (!gfx::SetField(caption_, caption)) return;
  textChanged();
  QAccessibleEvent event(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

void TLabel::setFontColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, fontColor_, c);
}

void TLabel::setAlignment(TAlignment a) {
  gfx::SetAndUpdate(*this, alignment_, a);
}

void TLabel::setAutoSize(bool on) {
  if (gfx::SetField(autoSize_, on) && on) textChanged();
}

void TLabel::setTransparent(bool on) {
  gfx::SetAndUpdate(*this, transparent_, on);
}

void TLabel::setColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, color_, c);
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
  const QStringList lines = Lines();
  int w = 0;
  for (const QString& line : lines) w = std::max(w, gfx::TextAdvance(font(), gfx::WithoutMnemonics(line)));
  const int h = gfx::LineHeight(font()) * int(lines.size());
  const int left = alignment_ == taRightJustify ? geometry().right() + 1 - w : x();
  setGeometry(left, y(), w, h);
}

bool TLabel::event(QEvent* e) {
  const bool done = QWidget::event(e);
  // Sizing waits for the end of loading.
  if (e->type() == QEvent::Polish) AdjustBounds();
  return done;
}

void TLabel::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::FontChange && testAttribute(Qt::WA_WState_Polished)) AdjustBounds();
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
  auto drawLines = [&](int dx, int dy, gfx::Colour colour) {
    canvas.setFontColour(colour);
    for (int i = 0; i < lines.size(); ++i)
      canvas.drawText(gfx::Rect{dx, dy + i * lineHeight, width() + dx, dy + (i + 1) * lineHeight}, lines[i],
                      kLineFlags | align);
  };
  if (isEnabled())
    drawLines(0, 0, fontColor_);
  else
    gfx::DrawEngraved(drawLines);  // in the button highlight and shadow colours
}

}  // namespace dorvane::controls
