#pragma once
// A one-line edit box drawn flat: no frame, a one-pixel line along its
// bottom row, background colours for normal, focused, disabled and error.
// OnChange reports every change of the text, also from code.
#include <functional>

#include <QLineEdit>

#include "gfx/colour.h"

namespace dorvane::controls {

// No edit box of ours types a key's character while Alt or Ctrl is held
// (Alt+X is no "x"), as the system's own boxes do not; the key still does
// what it does without its text (Ctrl+A selects all). AltGr, which types
// "€" on a French keyboard, reaches us as Ctrl+Alt on Windows and with a
// modifier of its own on X11, and still types. TFlatEdit does it itself;
// this does it for every line edit inside `root`.
void RefuseAltAndCtrlTyping(QWidget& root);

class TFlatEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(QString Text READ Text WRITE setText)
  Q_PROPERTY(bool Flat READ Flat WRITE setFlat)
  Q_PROPERTY(unsigned FlatLineColor READ FlatLineColor WRITE setFlatLineColor)
  Q_PROPERTY(bool FlatParentColor READ FlatParentColor WRITE setFlatParentColor)
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)
  Q_PROPERTY(unsigned FontColor READ FontColor WRITE setFontColor)
  Q_PROPERTY(unsigned FocusColor READ FocusColor WRITE setFocusColor)
  Q_PROPERTY(unsigned FocusFontColor READ FocusFontColor WRITE setFocusFontColor)
  Q_PROPERTY(unsigned DisabledColor READ DisabledColor WRITE setDisabledColor)
  Q_PROPERTY(unsigned ModifiedColor READ ModifiedColor WRITE setModifiedColor)
  Q_PROPERTY(bool ShowModified READ ShowModified WRITE setShowModified)
  Q_PROPERTY(bool ShowError READ ShowError WRITE setShowError)
  Q_PROPERTY(unsigned ErrorColor READ ErrorColor WRITE setErrorColor)
  Q_PROPERTY(unsigned ErrorFontColor READ ErrorFontColor WRITE setErrorFontColor)
  Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)
  Q_PROPERTY(bool CanUndo READ CanUndo WRITE setCanUndo)
  Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)
  Q_PROPERTY(bool ReturnIsTab READ ReturnIsTab WRITE setReturnIsTab)
  Q_PROPERTY(QString Version READ Version)

 public:
  enum TBorderStyle { bsNone, bsSingle };
  Q_ENUM(TBorderStyle)

  explicit TFlatEdit(QWidget* parent = nullptr);

  QString Text() const { return text(); }
  // Raises OnChange when the text really changes.
  void setText(const QString& text) { QLineEdit::setText(text); }

  bool Flat() const { return flat_; }
  void setFlat(bool on);
  gfx::Colour FlatLineColor() const { return flatLineColor_; }
  void setFlatLineColor(gfx::Colour c);
  // Flat and FlatParentColor: the background (and the focus colour) is the
  // parent's.
  bool FlatParentColor() const { return flatParentColor_; }
  void setFlatParentColor(bool on);
  // The normal background.
  gfx::Colour Color() const { return color_; }
  void setColor(gfx::Colour c);
  gfx::Colour FontColor() const { return fontColor_; }
  void setFontColor(gfx::Colour c);
  // clNone keeps the normal background while focused.
  gfx::Colour FocusColor() const { return focusColor_; }
  void setFocusColor(gfx::Colour c);
  gfx::Colour FocusFontColor() const { return focusFontColor_; }
  void setFocusFontColor(gfx::Colour c);
  gfx::Colour DisabledColor() const { return disabledColor_; }
  void setDisabledColor(gfx::Colour c);
  gfx::Colour ModifiedColor() const { return modifiedColor_; }
  void setModifiedColor(gfx::Colour c) { modifiedColor_ = c; }
  bool ShowModified() const { return showModified_; }
  void setShowModified(bool on);
  // Validate on every change and show invalid text in the error colours.
  bool ShowError() const { return showError_; }
  void setShowError(bool on);
  gfx::Colour ErrorColor() const { return errorColor_; }
  void setErrorColor(gfx::Colour c);
  gfx::Colour ErrorFontColor() const { return errorFontColor_; }
  void setErrorFontColor(gfx::Colour c);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void setBorderStyle(TBorderStyle s);
  // Escape brings back the text the box had when it got the focus.
  bool CanUndo() const { return canUndo_; }
  void setCanUndo(bool on) { canUndo_ = on; }
  bool AutoSelect() const { return autoSelect_; }
  void setAutoSelect(bool on) { autoSelect_ = on; }
  bool ReturnIsTab() const { return returnIsTab_; }
  void setReturnIsTab(bool on) { returnIsTab_ = on; }
  QString Version() const { return QStringLiteral("2.7.0.2"); }

  // Asked on every change while ShowError is set; without one every text is
  // valid.
  void setValueValidator(std::function<bool(const QString&)> validator);
  bool HasError() const { return error_; }

  // The colours in force now.
  gfx::Colour CurrentBackground() const;
  gfx::Colour CurrentTextColour() const;

 signals:
  void OnChange();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void applyLook();
  void applyColours();
  void textWasChanged();

  bool flat_ = false;
  gfx::Colour flatLineColor_ = gfx::clBlack;
  bool flatParentColor_ = true;
  gfx::Colour color_ = gfx::clWindow;
  gfx::Colour fontColor_ = gfx::clWindowText;
  gfx::Colour focusColor_ = gfx::clNone;
  gfx::Colour focusFontColor_ = gfx::clWindowText;
  gfx::Colour disabledColor_ = gfx::clSilver;
  gfx::Colour modifiedColor_ = gfx::clHighlight;
  bool showModified_ = false;
  bool showError_ = false;
  gfx::Colour errorColor_ = gfx::clRed;
  gfx::Colour errorFontColor_ = gfx::clWhite;
  TBorderStyle borderStyle_ = bsSingle;
  bool canUndo_ = true;
  bool autoSelect_ = true;
  bool returnIsTab_ = false;

  bool error_ = false;
  QString focusText_;  // the text when the focus came
  std::function<bool(const QString&)> validator_;
  QColor appliedBase_, appliedText_;
};

}  // namespace dorvane::controls
