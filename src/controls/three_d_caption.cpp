#include "controls/three_d_caption.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>

#include "gfx/fonts.h"
#include "gfx/property.h"

namespace dorvane::controls {

// --- T3DCaption -------------------------------------------------------------

void T3DCaption::setStyle(TThreeDStyle s) {
  if (gfx::SetField(style_, s)) emit Changed();
}
void T3DCaption::setLightDepth(int d) {
  if (gfx::SetField(lightDepth_, std::clamp(d, 0, 255))) emit Changed();
}
void T3DCaption::setShadowDepth(int d) {
  if (gfx::SetField(shadowDepth_, std::clamp(d, 0, 255))) emit Changed();
}
void T3DCaption::setLightColor(gfx::Colour c) {
  if (gfx::SetField(lightColor_, c)) emit Changed();
}
void T3DCaption::setShadowColor(gfx::Colour c) {
  if (gfx::SetField(shadowColor_, c)) emit Changed();
}
void T3DCaption::setTracing(int t) {
  if (gfx::SetField(tracing_, t)) emit Changed();
}
void T3DCaption::setDisabledStyle(TDisabledStyle s) {
  if (gfx::SetField(disabledStyle_, s)) emit Changed();
}

// --- the 3-D text routine -----------------------------------------------------

void DrawText3D(gfx::Canvas& canvas, const gfx::Rect& r, const QString& text, const T3DCaption& settings,
                unsigned flags, gfx::Colour colour) {
  if (text.isEmpty() || r.isEmpty()) return;
  struct Pass {
    int offset;
    gfx::Colour colour;
  };
  const int light = settings.LightDepth();
  const int depth = settings.Depth();
  Pass passes[3];
  int count = 0;
  if (settings.Style() == T3DCaption::tdRaisedShadow) {
    passes[count++] = {light + settings.ShadowDepth(), settings.ShadowColor()};
    passes[count++] = {0, settings.LightColor()};
    passes[count++] = {light, colour};
  } else {
    passes[count++] = {0, colour};
  }

  canvas.save();
  canvas.setBackgroundMode(gfx::BackgroundMode::Transparent);
  if (settings.Tracing() != 0) {
    QFont font = canvas.font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, settings.Tracing());
    canvas.setFont(font);
  }
  const gfx::Rect base{r.left, r.top, r.right - depth, r.bottom};
  for (int i = 0; i < count; ++i) {
    canvas.setFontColour(passes[i].colour);
    canvas.drawText(base.translated(passes[i].offset, passes[i].offset), text, flags);
  }
  canvas.restore();
}

// --- TCustom3DLabel -----------------------------------------------------------

TCustom3DLabel::TCustom3DLabel(QWidget* parent) : TLightControl(parent), font3D_(new T3DCaption(this)) {
  connect(font3D_, &T3DCaption::Changed, this, &TCustom3DLabel::TextChanged);
}

void TCustom3DLabel::setAutoSize(bool on) {
  if (gfx::SetField(autoSize_, on)) AdjustBounds();
}

void TCustom3DLabel::setAlignment(TLabelAlignment a) {
  if (gfx::SetField(alignment_, a)) TextChanged();
}

void TCustom3DLabel::setShowAccelChar(bool on) {
  if (gfx::SetField(showAccelChar_, on)) TextChanged();
}

void TCustom3DLabel::setFontColor(gfx::Colour c) {
  gfx::SetAndUpdate(*this, fontColor_, c);
}

void TCustom3DLabel::Loaded() {
  AdjustBounds();
}

void TCustom3DLabel::TextChanged() {
  AdjustBounds();
  update();
}

void TCustom3DLabel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) TextChanged();
  TLightControl::changeEvent(event);
}

unsigned TCustom3DLabel::TextFlags() const {
  static constexpr unsigned kHorizontal[3] = {gfx::kAlignLeft, gfx::kAlignCenter, gfx::kAlignRight};
  static constexpr unsigned kVertical[3] = {gfx::kAlignTop, gfx::kAlignVCenter, gfx::kAlignBottom};
  unsigned flags = gfx::kExpandTabs | kHorizontal[alignment_ % 3];
  if (MultiLineText())
    flags |= gfx::kWordBreak;
  else
    flags |= gfx::kSingleLine | kVertical[alignment_ / 3];
  if (showAccelChar_) flags |= gfx::kMnemonics;
  return flags;
}

void TCustom3DLabel::AdjustBounds() {
  if (!autoSize_) return;
  QString text = Text();
  // Nothing to measure still takes the room of one blank.
  if (text.isEmpty() || (showAccelChar_ && text == QLatin1String("&"))) text = QStringLiteral(" ");
  const QFontMetrics fm(font());
  QSize measured;
  if (!MultiLineText() && !text.contains(QLatin1Char('\t'))) {
    measured = {fm.horizontalAdvance(showAccelChar_ ? gfx::WithoutMnemonics(text) : text),
                gfx::LineHeight(font())};
  } else {
    int qtFlags = Qt::TextExpandTabs | Qt::AlignLeft | Qt::AlignTop;
    if (showAccelChar_) qtFlags |= Qt::TextShowMnemonic;
    if (!MultiLineText()) qtFlags |= Qt::TextSingleLine;
    measured = fm.boundingRect(QRect(0, 0, 0x7FFF, 0x7FFF), qtFlags, text).size();
    // A single line is drawn one line high, tabs or not.
    if (!MultiLineText()) measured.setHeight(gfx::LineHeight(font()));
  }
  const int grow = font3D_->Depth() + 2;
  resize(measured.width() + grow, measured.height() + grow);
}

void TCustom3DLabel::DrawLabelText(gfx::Canvas& canvas, const gfx::Rect& client) {
  canvas.setFont(font());
  DrawText3D(canvas, client, Text(), *font3D_, TextFlags(), fontColor_);
}

// --- TSimpleLabel -------------------------------------------------------------

void TSimpleLabel::setCaption(const QString& caption) {
  if (gfx::SetField(caption_, caption)) TextChanged();
}

void TSimpleLabel::setMultiLine(bool on) {
  if (gfx::SetField(multiLine_, on)) TextChanged();
}

void TSimpleLabel::setOptions(TLabelOptions o) {
  if (gfx::SetField(options_, o)) TextChanged();
}

void TSimpleLabel::Paint(gfx::Canvas& canvas, const gfx::Rect& client) {
  if (Transparent() && caption_.isEmpty()) return;
  DrawLabelText(canvas, client);
}

}  // namespace dorvane::controls
