#pragma once
// Raised and sunken text: the Font3D settings object, the routine that draws
// a text in several offset passes, and the light labels built on it (the
// about box's title labels; the version information label derives from the
// same label base).
#include <QString>

#include "controls/light_control.h"

namespace dorvane::controls {

class T3DCaption : public QObject {
  Q_OBJECT
  Q_PROPERTY(TThreeDStyle Style READ Style WRITE setStyle)
  Q_PROPERTY(int LightDepth READ LightDepth WRITE setLightDepth)
  Q_PROPERTY(int ShadowDepth READ ShadowDepth WRITE setShadowDepth)
  Q_PROPERTY(unsigned LightColor READ LightColor WRITE setLightColor)
  Q_PROPERTY(unsigned ShadowColor READ ShadowColor WRITE setShadowColor)
  Q_PROPERTY(int Tracing READ Tracing WRITE setTracing)
  Q_PROPERTY(TDisabledStyle DisabledStyle READ DisabledStyle WRITE setDisabledStyle)

 public:
  enum TThreeDStyle {
    tdNone,
    tdSunken,
    tdRaised,
    tdSunkenShadow,
    tdRaisedShadow,
    tdPColorSunken,
    tdPColorRaised,
    tdShadow,
  };
  Q_ENUM(TThreeDStyle)
  enum TDisabledStyle { dsAuto, dsNone, dsStandard };
  Q_ENUM(TDisabledStyle)

  explicit T3DCaption(QObject* parent = nullptr) : QObject(parent) {}

  TThreeDStyle Style() const { return style_; }
  void setStyle(TThreeDStyle s);
  // Offsets in pixels, 0 to 255.
  int LightDepth() const { return lightDepth_; }
  void setLightDepth(int d);
  int ShadowDepth() const { return shadowDepth_; }
  void setShadowDepth(int d);
  gfx::Colour LightColor() const { return lightColor_; }
  void setLightColor(gfx::Colour c);
  gfx::Colour ShadowColor() const { return shadowColor_; }
  void setShadowColor(gfx::Colour c);
  // Extra pixels between characters.
  int Tracing() const { return tracing_; }
  void setTracing(int t);
  TDisabledStyle DisabledStyle() const { return disabledStyle_; }
  void setDisabledStyle(TDisabledStyle s);

  // Pixels the effect adds to the text's width and height. Only the raised
  // shadow is drawn with depth; the other styles draw flat.
  int Depth() const { return style_ == tdRaisedShadow ? lightDepth_ + shadowDepth_ : 0; }

 signals:
  void Changed();

 private:
  TThreeDStyle style_ = tdNone;
  int lightDepth_ = 1;
  int shadowDepth_ = 1;
  gfx::Colour lightColor_ = gfx::clBtnHighlight;
  gfx::Colour shadowColor_ = gfx::clBtnShadow;
  int tracing_ = 0;
  TDisabledStyle disabledStyle_ = dsAuto;
};

// Draws text in r with the canvas's font: once per pass of the style, each
// pass in r moved right and down by its offset. `flags` are Canvas::drawText
// flags; `colour` is the text's own colour.
void DrawText3D(gfx::Canvas& canvas, const gfx::Rect& r, const QString& text, const T3DCaption& settings,
                unsigned flags, gfx::Colour colour);

// Base of the light labels: text placement, mnemonics, colour, Font3D and
// sizing to the text. The text comes from Text().
class TCustom3DLabel : public TLightControl {
  Q_OBJECT
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
  Q_PROPERTY(TLabelAlignment Alignment READ Alignment WRITE setAlignment)
  Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE setShowAccelChar)
  Q_PROPERTY(unsigned FontColor READ FontColor WRITE setFontColor)
  // Shortcut to Font3D->Style, so that a window layout can set it.
  Q_PROPERTY(dorvane::controls::T3DCaption::TThreeDStyle Font3DStyle READ Font3DStyle WRITE setFont3DStyle)

 public:
  enum TLabelAlignment {
    agTopLeft,
    agTopCenter,
    agTopRight,
    agCenterLeft,
    agCenter,
    agCenterRight,
    agBottomLeft,
    agBottomCenter,
    agBottomRight,
  };
  Q_ENUM(TLabelAlignment)

  explicit TCustom3DLabel(QWidget* parent = nullptr);

  bool AutoSize() const { return autoSize_; }
  void setAutoSize(bool on);
  TLabelAlignment Alignment() const { return alignment_; }
  void setAlignment(TLabelAlignment a);
  bool ShowAccelChar() const { return showAccelChar_; }
  void setShowAccelChar(bool on);
  // Colour of the text (the classic font colour).
  gfx::Colour FontColor() const { return fontColor_; }
  void setFontColor(gfx::Colour c);
  T3DCaption* Font3D() const { return font3D_; }
  T3DCaption::TThreeDStyle Font3DStyle() const { return font3D_->Style(); }
  void setFont3DStyle(T3DCaption::TThreeDStyle s) { font3D_->setStyle(s); }

  // The window layout has been applied: size to the text once more.
  void Loaded();
  // Sets Width and Height from the text while AutoSize is on; Left and Top
  // stay.
  void AdjustBounds();

  // The text as it will be drawn.
  virtual QString Text() const = 0;

 protected:
  virtual bool MultiLineText() const { return false; }
  unsigned TextFlags() const;
  void DrawLabelText(gfx::Canvas& canvas, const gfx::Rect& client);
  void changeEvent(QEvent* event) override;
  // A property that shapes the text changed: resize and repaint.
  void TextChanged();

 private:
  bool autoSize_ = true;
  TLabelAlignment alignment_ = agTopLeft;
  bool showAccelChar_ = true;
  gfx::Colour fontColor_ = gfx::clWindowText;
  T3DCaption* font3D_;
};

class TSimpleLabel : public TCustom3DLabel {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  Q_PROPERTY(bool MultiLine READ MultiLine WRITE setMultiLine)
  Q_PROPERTY(TLabelOptions Options READ Options WRITE setOptions)

 public:
  enum TLabelOption { loPathEllipsis = 1, loEndEllipsis = 2, loEditControl = 4 };
  Q_DECLARE_FLAGS(TLabelOptions, TLabelOption)
  Q_FLAG(TLabelOptions)

  explicit TSimpleLabel(QWidget* parent = nullptr) : TCustom3DLabel(parent) {}

  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);
  bool MultiLine() const { return multiLine_; }
  void setMultiLine(bool on);
  // Stored only: no option is drawn.
  TLabelOptions Options() const { return options_; }
  void setOptions(TLabelOptions o);

  QString Text() const override { return caption_; }

 protected:
  bool MultiLineText() const override { return multiLine_; }
  void Paint(gfx::Canvas& canvas, const gfx::Rect& client) override;

 private:
  QString caption_;
  bool multiLine_ = false;
  TLabelOptions options_;
};

}  // namespace dorvane::controls
