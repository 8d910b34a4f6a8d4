#pragma once
// A block of text lines meant to scroll through the control's area. Only the
// resting position is built: at rest the block lies just outside the visible
// area (below it when scrolling upwards), so only what is behind shows.
#include <QStringList>

#include "controls/three_d_caption.h"

namespace dorvane::controls {

class TScrollText : public TLightControl {
  Q_OBJECT
  Q_PROPERTY(QStringList Lines READ Lines WRITE setLines)
  Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
  Q_PROPERTY(TScrollDirection Direction READ Direction WRITE setDirection)
  Q_PROPERTY(int Steps READ Steps WRITE setSteps)
  Q_PROPERTY(bool Scroll READ Scroll WRITE setScroll STORED false)
  Q_PROPERTY(unsigned FontColor READ FontColor WRITE setFontColor)

 public:
  enum TAlignment { taLeftJustify, taRightJustify, taCenter };
  Q_ENUM(TAlignment)
  enum TScrollDirection { sdBottomToTop, sdLeftToRight, sdRightToLeft, sdTopToBottom };
  Q_ENUM(TScrollDirection)

  explicit TScrollText(QWidget* parent = nullptr);

  QStringList Lines() const { return lines_; }
  void setLines(const QStringList& lines);
  TAlignment Alignment() const { return alignment_; }
  void setAlignment(TAlignment a);
  TScrollDirection Direction() const { return direction_; }
  void setDirection(TScrollDirection d);
  int Steps() const { return steps_; }
  void setSteps(int steps);
  // Whether the text moves. The moving itself is not built: switching it on
  // only records the wish, and the text stays at rest.
  bool Scroll() const { return scroll_; }
  void setScroll(bool on);
  gfx::Colour FontColor() const { return fontColor_; }
  void setFontColor(gfx::Colour c);
  T3DCaption* Font3D() const { return font3D_; }

  // Where line i lies, in client coordinates, for the current step.
  gfx::Rect LineRect(int i, const gfx::Rect& visible) const;

 protected:
  void Paint(gfx::Canvas& canvas, const gfx::Rect& client) override;

 private:
  int LineHeight() const;

  QStringList lines_;
  TAlignment alignment_ = taCenter;
  TScrollDirection direction_ = sdBottomToTop;
  int steps_ = 100;
  bool scroll_ = false;
  int step_ = 0;  // k: 0 while not scrolling
  gfx::Colour fontColor_ = gfx::clWindowText;
  T3DCaption* font3D_;
};

}  // namespace dorvane::controls
