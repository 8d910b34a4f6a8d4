#include "controls/three_d_caption.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>

namespace dorvane::controls {

// --- T3DCaption -------------------------------------------------------------

template <typename T>
void T3DCaption::change(T& field, T value) {
  if (field == value) return;
  field = value;
  emit Changed();
}

void T3DCaption::setStyle(TThreeDStyle s) {
  change(style_, s);
}
void T3DCaption::setLightDepth(int d) {
  change(lightDepth_, std::clamp(d, 0, 255));
}
void T3DCaption::setShadowDepth(int d) {
  change(shadowDepth_, std::clamp(d, 0, 255));
}
void T3DCaption::setLightColor(gfx::Colour c) {
  change(lightColor_, c);
}
void T3DCaption::setShadowColor(gfx::Colour c) {
  change(shadowColor_, c);
}
void T3DCaption::setTracing(int t) {
  change(tracing_, t);
}
void T3DCaption::setDisabledStyle(TDisabledStyle s) {
  change(disabledStyle_, s);
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

namespace {

// The text as shown: "&x" shows "x", "&&" shows "&".
QString StripMnemonics(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

}  // namespace

TCustom3DLabel::TCustom3DLabel(QWidget* parent) : TLightControl(parent), font3D_(new T3DCaption(this)) {
  connect(font3D_, &T3DCaption::Changed, this, &TCustom3DLabel::TextChanged);
}

void TCustom3DLabel::setAutoSize(bool on) {
  if (autoSize_ == on) return;
  autoSize_ = on;
  AdjustBounds();
}

void TCustom3DLabel::setAlignment(TLabelAlignment a) {
  if (alignment_ == a) return;
  alignment_ = a;
  TextChanged();
}

void TCustom3DLabel::setShowAccelChar(bool on) {
  if (showAccelChar_ == on) return;
  showAccelChar_ = on;
  TextChanged();
}

void TCustom3DLabel::setFontColor(gfx::Colour c) {
  if (fontColor_ == c) return;
  fontColor_ = c;
  update();
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
    measured = {fm.horizontalAdvance(showAccelChar_ ? StripMnemonics(text) : text), fm.height()};
  } else {
    int qtFlags = Qt::TextExpandTabs | Qt::AlignLeft | Qt::AlignTop;
    if (showAccelChar_) qtFlags |= Qt::TextShowMnemonic;
    if (!MultiLineText()) qtFlags |= Qt::TextSingleLine;
    measured = fm.boundingRect(QRect(0, 0, 0x7FFF, 0x7FFF), qtFlags, text).size();
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
  if (caption_ == caption) return;
  caption_ = caption;
  TextChanged();
}

void TSimpleLabel::setMultiLine(bool on) {
  if (multiLine_ == on) return;
  multiLine_ = on;
  TextChanged();
}

void TSimpleLabel::setOptions(TLabelOptions o) {
  if (options_ == o) return;
  options_ = o;
  TextChanged();
}

void TSimpleLabel::Paint(gfx::Canvas& canvas, const gfx::Rect& client) {
  if (Transparent() && caption_.isEmpty()) return;
  DrawLabelText(canvas, client);
}

}  // namespace dorvane::controls
