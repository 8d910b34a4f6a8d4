#pragma once
// A check box whose caption carries coloured mark-up. Only user input
// (mouse release inside, space bar) raises OnClick, after the toggle; state
// set from code raises nothing.
#include <QImage>
#include <QWidget>

#include "controls/markup.h"
#include "gfx/colour.h"

namespace dorvane::controls {

class TCustomMarkupCheckBox : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  Q_PROPERTY(TCheckBoxState State READ State WRITE setState)
  Q_PROPERTY(TButtonType ButtonType READ ButtonType WRITE setButtonType)
  Q_PROPERTY(TLeftRight Alignment READ Alignment WRITE setAlignment)
  Q_PROPERTY(TTextLayout ButtonVertAlign READ ButtonVertAlign WRITE setButtonVertAlign)
  Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
  Q_PROPERTY(bool ReturnIsTab READ ReturnIsTab WRITE setReturnIsTab)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
  Q_PROPERTY(bool Down READ Down WRITE setDown)
  Q_PROPERTY(bool Ellipsis READ Ellipsis WRITE setEllipsis)
  Q_PROPERTY(unsigned URLColor READ URLColor WRITE setURLColor)
  Q_PROPERTY(unsigned ShadowColor READ ShadowColor WRITE setShadowColor)
  Q_PROPERTY(int ShadowOffset READ ShadowOffset WRITE setShadowOffset)
  Q_PROPERTY(unsigned CheckColor READ CheckColor WRITE setCheckColor)
  Q_PROPERTY(unsigned FontColor READ FontColor WRITE setFontColor)
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)
  Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
  Q_PROPERTY(QString Version READ Version)

 public:
  enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
  Q_ENUM(TCheckBoxState)
  enum TButtonType { btClassic, btFlat, btWinXP };
  Q_ENUM(TButtonType)
  enum TLeftRight { taLeftJustify, taRightJustify };
  Q_ENUM(TLeftRight)
  enum TTextLayout { tlTop, tlCenter, tlBottom };
  Q_ENUM(TTextLayout)

  explicit TCustomMarkupCheckBox(QWidget* parent = nullptr);

  // Process-wide: the application's QStyle indicator (true, the default) or
  // the program's 16 x 16 pictures.
  static void SetThemedLook(bool themed);
  static bool ThemedLook();

  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);
  TCheckBoxState State() const { return state_; }
  void setState(TCheckBoxState state);
  TButtonType ButtonType() const { return buttonType_; }
  void setButtonType(TButtonType t);
  TLeftRight Alignment() const { return alignment_; }
  void setAlignment(TLeftRight a);
  TTextLayout ButtonVertAlign() const { return vertAlign_; }
  void setButtonVertAlign(TTextLayout l);
  bool Transparent() const { return transparent_; }
  void setTransparent(bool on);
  bool ReturnIsTab() const { return returnIsTab_; }
  void setReturnIsTab(bool on) { returnIsTab_ = on; }
  bool ReadOnly() const { return readOnly_; }
  void setReadOnly(bool on) { readOnly_ = on; }
  // The box is being pressed (mouse button or space bar held).
  bool Down() const { return down_; }
  void setDown(bool down) { down_ = down; }
  bool Ellipsis() const { return ellipsis_; }
  void setEllipsis(bool on);
  gfx::Colour URLColor() const { return urlColor_; }
  void setURLColor(gfx::Colour c);
  gfx::Colour ShadowColor() const { return shadowColor_; }
  void setShadowColor(gfx::Colour c);
  int ShadowOffset() const { return shadowOffset_; }
  void setShadowOffset(int offset);
  gfx::Colour CheckColor() const { return checkColor_; }
  void setCheckColor(gfx::Colour c);
  // Colour of the caption outside colour tags.
  gfx::Colour FontColor() const { return fontColor_; }
  void setFontColor(gfx::Colour c);
  // Background when not transparent.
  gfx::Colour Color() const { return color_; }
  void setColor(gfx::Colour c);
  bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
  void setTabStop(bool on);
  QString Version() const { return QStringLiteral("1.4.5.2"); }

  // Flips the check mark unless ReadOnly; raises nothing.
  void Toggle();
  // What a click or the space bar does: Toggle, then OnClick. A screen
  // reader's toggle action comes here too. False when the handler deleted
  // the box.
  bool Click();

  // Where the parts go, in client coordinates.
  QRect BoxRect() const;
  gfx::Rect CaptionRect() const;

  // The four pictures of the unthemed box, 16 x 16, magenta (the colour of
  // the bottom-left pixel) meaning transparent: 5 checked, 6 unchecked,
  // 7 checked and disabled, 8 unchecked and disabled.
  static QImage CheckBoxBitmap(int number);

 signals:
  void OnClick();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool bitmapBox() const;
  bool inside(QPointF p) const;
  void drawBox(QPainter& painter) const;

  QString caption_;
  TCheckBoxState state_ = cbUnchecked;
  TButtonType buttonType_ = btClassic;
  TLeftRight alignment_ = taLeftJustify;
  TTextLayout vertAlign_ = tlTop;
  bool transparent_ = false;
  bool returnIsTab_ = false;
  bool readOnly_ = false;
  bool down_ = false;
  bool ellipsis_ = false;
  gfx::Colour urlColor_ = gfx::clBlue;
  gfx::Colour shadowColor_ = gfx::clGray;
  int shadowOffset_ = 1;
  gfx::Colour checkColor_ = gfx::clBlack;
  gfx::Colour fontColor_ = gfx::clWindowText;
  gfx::Colour color_ = gfx::clBtnFace;

  bool focused_ = false;       // set on focus and on a press, cleared on focus loss
  bool hot_ = false;           // pointer inside
  bool mousePressed_ = false;  // a press started here and is not released yet
  bool spacePressed_ = false;
};

class TMarkupCheckBox : public TCustomMarkupCheckBox {
  Q_OBJECT
  Q_PROPERTY(bool Checked READ Checked WRITE setChecked)

 public:
  explicit TMarkupCheckBox(QWidget* parent = nullptr);

  bool Checked() const { return State() == cbChecked; }
  // From code: repaints, raises no event.
  void setChecked(bool on) { setState(on ? cbChecked : cbUnchecked); }
};

}  // namespace dorvane::controls
