#pragma once
// A caption without a window of its own: drawn over whatever lies behind it,
// sized to its text. A carriage return starts a second line.
#include <QWidget>

#include "gfx/colour.h"

namespace dorvane::controls {

class TLabel : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  Q_PROPERTY(unsigned FontColor READ FontColor WRITE setFontColor)
  Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
  Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
  Q_PROPERTY(unsigned Color READ Color WRITE setColor)

 public:
  enum TAlignment { taLeftJustify, taRightJustify, taCenter };
  Q_ENUM(TAlignment)

  explicit TLabel(QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  // "\r" (or "\r\n", "\n") breaks the line.
  void setCaption(const QString& caption);
  gfx::Colour FontColor() const { return fontColor_; }
  void setFontColor(gfx::Colour c);
  TAlignment Alignment() const { return alignment_; }
  void setAlignment(TAlignment a);
  // Sizes the label to its text: a right-aligned label keeps its right edge,
  // the others their left edge.
  bool AutoSize() const { return autoSize_; }
  void setAutoSize(bool on);
  bool Transparent() const { return transparent_; }
  void setTransparent(bool on);
  // Background when not transparent.
  gfx::Colour Color() const { return color_; }
  void setColor(gfx::Colour c);

  // Applies AutoSize now. Before the label is polished (while a layout is
  // still setting its properties) sizing waits, so that the laid-out bounds
  // and alignment decide which edge stays.
  void AdjustBounds();
  QStringList Lines() const;

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void textChanged();

  QString caption_;
  gfx::Colour fontColor_ = gfx::clWindowText;
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  bool transparent_ = true;
  gfx::Colour color_ = gfx::clBtnFace;
};

}  // namespace dorvane::controls
