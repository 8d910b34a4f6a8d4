#pragma once
// A drop-down list (selection only) drawn flat, with a caption label of its
// own placed beside it on the same parent. OnChange reports a selection by
// the user only.
#include <QComboBox>
#include <QFont>
#include <QPointer>

#include "controls/label.h"
#include "gfx/canvas.h"
#include "gfx/colour.h"

namespace dorvane::controls {

class TFlatComboBox : public QComboBox {
  Q_OBJECT
  Q_PROPERTY(int ItemIndex READ ItemIndex WRITE setItemIndex)
  Q_PROPERTY(int ItemHeight READ ItemHeight WRITE setItemHeight)
  Q_PROPERTY(bool Flat READ Flat WRITE setFlat)
  Q_PROPERTY(unsigned FlatLineColor READ FlatLineColor WRITE setFlatLineColor)
  Q_PROPERTY(bool FlatParentColor READ FlatParentColor WRITE setFlatParentColor)
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE setParentColor)
  Q_PROPERTY(unsigned FocusColor READ FocusColor WRITE setFocusColor)
  Q_PROPERTY(int ButtonWidth READ ButtonWidth WRITE setButtonWidth)
  Q_PROPERTY(int DropWidth READ DropWidth WRITE setDropWidth)
  Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE setCtl3D)
  Q_PROPERTY(bool ParentCtl3D READ ParentCtl3D WRITE setParentCtl3D)
  Q_PROPERTY(QString LabelCaption READ LabelCaption WRITE setLabelCaption)
  Q_PROPERTY(TLabelPosition LabelPosition READ LabelPosition WRITE setLabelPosition)
  Q_PROPERTY(int LabelMargin READ LabelMargin WRITE setLabelMargin)
  Q_PROPERTY(bool LabelTransparent READ LabelTransparent WRITE setLabelTransparent)
  Q_PROPERTY(bool LabelAlwaysEnabled READ LabelAlwaysEnabled WRITE setLabelAlwaysEnabled)
  Q_PROPERTY(QFont LabelFont READ LabelFont WRITE setLabelFont)
  Q_PROPERTY(unsigned LabelFontColor READ LabelFontColor WRITE setLabelFontColor)
  Q_PROPERTY(bool AutoFocus READ AutoFocus WRITE setAutoFocus)
  Q_PROPERTY(QString Version READ Version)

 public:
  enum TLabelPosition {
    lpLeftTop,
    lpLeftCenter,
    lpLeftBottom,
    lpTopLeft,
    lpBottomLeft,
    lpLeftTopLeft,
    lpLeftCenterLeft,
    lpLeftBottomLeft,
    lpTopCenter,
    lpBottomCenter,
  };
  Q_ENUM(TLabelPosition)

  explicit TFlatComboBox(QWidget* parent = nullptr);
  // The caption label goes with the list.
  ~TFlatComboBox() override;

  // From code: selects without raising OnChange.
  int ItemIndex() const { return currentIndex(); }
  void setItemIndex(int index) { setCurrentIndex(index); }
  int ItemHeight() const { return itemHeight_; }
  void setItemHeight(int h) { itemHeight_ = h; }

  bool Flat() const { return flat_; }
  void setFlat(bool on);
  // clNone: no line along the bottom.
  gfx::Colour FlatLineColor() const { return flatLineColor_; }
  void setFlatLineColor(gfx::Colour c);
  bool FlatParentColor() const { return flatParentColor_; }
  void setFlatParentColor(bool on);
  gfx::Colour Color() const { return color_; }
  void setColor(gfx::Colour c);
  // The parent's colour as background; a disabled flat list takes it too.
  bool ParentColor() const { return parentColor_; }
  void setParentColor(bool on);
  gfx::Colour FocusColor() const { return focusColor_; }
  void setFocusColor(gfx::Colour c);
  // 14 to 32 pixels; other values are refused.
  int ButtonWidth() const { return buttonWidth_; }
  void setButtonWidth(int w);
  int DropWidth() const { return dropWidth_; }
  void setDropWidth(int w) { dropWidth_ = w; }
  bool Ctl3D() const { return ctl3D_; }
  void setCtl3D(bool on) { ctl3D_ = on; }
  bool ParentCtl3D() const { return parentCtl3D_; }
  void setParentCtl3D(bool on) { parentCtl3D_ = on; }

  // Setting a caption creates the label (a sibling on the same parent).
  QString LabelCaption() const { return labelCaption_; }
  void setLabelCaption(const QString& caption);
  TLabelPosition LabelPosition() const { return labelPosition_; }
  void setLabelPosition(TLabelPosition p);
  int LabelMargin() const { return labelMargin_; }
  void setLabelMargin(int m);
  bool LabelTransparent() const { return labelTransparent_; }
  void setLabelTransparent(bool on);
  bool LabelAlwaysEnabled() const { return labelAlwaysEnabled_; }
  void setLabelAlwaysEnabled(bool on);
  QFont LabelFont() const { return labelFont_; }
  void setLabelFont(const QFont& font);
  gfx::Colour LabelFontColor() const { return labelFontColor_; }
  void setLabelFontColor(gfx::Colour c);
  bool AutoFocus() const { return autoFocus_; }
  void setAutoFocus(bool on) { autoFocus_ = on; }
  QString Version() const { return QStringLiteral("1.2.0.0"); }

  TLabel* Label() const { return label_; }
  // The background in force now.
  gfx::Colour CurrentBackground() const;

  void setVisible(bool visible) override;

 signals:
  void OnChange();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void placeLabel();
  void drawButton(QPainter& painter, gfx::Canvas& canvas, const gfx::Rect& r) const;
  void drawField(gfx::Canvas& canvas) const;
  void drawFlatFace(gfx::Canvas& canvas) const;
  bool overButton(int x) const { return x >= width() - buttonWidth_ && x < width(); }

  int itemHeight_ = 13;
  bool flat_ = false;
  gfx::Colour flatLineColor_ = gfx::clBlack;
  bool flatParentColor_ = true;
  gfx::Colour color_ = gfx::clWindow;
  bool parentColor_ = false;
  gfx::Colour focusColor_ = gfx::clNone;
  int buttonWidth_;
  int dropWidth_ = 0;
  bool ctl3D_ = true, parentCtl3D_ = true;

  QString labelCaption_;
  TLabelPosition labelPosition_ = lpLeftTop;
  int labelMargin_ = 4;
  bool labelTransparent_ = false;
  bool labelAlwaysEnabled_ = false;
  QFont labelFont_;
  gfx::Colour labelFontColor_ = gfx::clWindowText;
  bool autoFocus_ = false;
  QPointer<TLabel> label_;

  bool hot_ = false;
  bool buttonHot_ = false;
};

}  // namespace dorvane::controls
