#pragma once
// Base of the controls that have no window of their own (technical line,
// version labels, scrolling text): they paint on their parent's surface inside
// their bounds, with a Transparent flag and a Bevel frame object.
#include <QWidget>

#include "gfx/canvas.h"
#include "gfx/colour.h"

namespace dorvane::controls {

// The frame around a light control. Every control of the program keeps the
// values it is created with, which draw nothing and take no room; the object
// exists as a holder of those properties.
class TBevel : public QObject {
  Q_OBJECT
  Q_PROPERTY(BevelMode Mode READ Mode WRITE setMode)
  Q_PROPERTY(BevelStyle StandardStyle READ StandardStyle WRITE setStandardStyle)
  Q_PROPERTY(BevelCut BevelInner READ BevelInner WRITE setBevelInner)
  Q_PROPERTY(BevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
  Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
  Q_PROPERTY(int InnerBorderWidth READ InnerBorderWidth WRITE setInnerBorderWidth)

 public:
  enum BevelMode { bmStandard, bmCustom };
  Q_ENUM(BevelMode)
  enum BevelStyle { lsNone, lsSingleLowered, lsSingleRaised, lsDoubleLowered, lsDoubleRaised };
  Q_ENUM(BevelStyle)
  enum BevelCut { bvNone, bvLowered, bvRaised, bvSpace };
  Q_ENUM(BevelCut)

  explicit TBevel(QObject* parent = nullptr) : QObject(parent) {}

  BevelMode Mode() const { return mode_; }
  void setMode(BevelMode m) { mode_ = m; }
  BevelStyle StandardStyle() const { return style_; }
  void setStandardStyle(BevelStyle s) { style_ = s; }
  BevelCut BevelInner() const { return inner_; }
  void setBevelInner(BevelCut c) { inner_ = c; }
  BevelCut BevelOuter() const { return outer_; }
  void setBevelOuter(BevelCut c) { outer_ = c; }
  int BorderWidth() const { return borderWidth_; }
  void setBorderWidth(int w) { borderWidth_ = w; }
  int InnerBorderWidth() const { return innerBorderWidth_; }
  void setInnerBorderWidth(int w) { innerBorderWidth_ = w; }

  // Pixels the frame takes on each side. In custom mode with both cuts
  // "none" that is the border widths alone: 0 as created.
  int Extent() const;

 private:
  BevelMode mode_ = bmCustom;
  BevelStyle style_ = lsSingleLowered;
  BevelCut inner_ = bvNone, outer_ = bvNone;
  int borderWidth_ = 0, innerBorderWidth_ = 0;
};

class TLightControl : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE setParentColor)

 public:
  explicit TLightControl(QWidget* parent = nullptr);

  bool Transparent() const { return transparent_; }
  void setTransparent(bool on);
  // Background when not transparent; while ParentColor is set it follows the
  // parent's background colour.
  gfx::Colour Color() const;
  void setColor(gfx::Colour c);
  bool ParentColor() const { return parentColor_; }
  void setParentColor(bool on);
  TBevel* Bevel() const { return bevel_; }

 protected:
  // Draws the control into its own client rectangle. The background (when
  // not transparent) and the frame are done by the base.
  virtual void Paint(gfx::Canvas& canvas, const gfx::Rect& client) = 0;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool transparent_ = true;
  bool parentColor_ = true;
  gfx::Colour color_ = gfx::clBtnFace;
  TBevel* bevel_;
};

}  // namespace dorvane::controls
