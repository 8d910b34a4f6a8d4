#pragma once
// Fills a window's background with a picture instead of its colour. Once
// attached it takes over the window's background painting; everything else
// goes on to the window as before.
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QPainter;

namespace dorvane::controls {

class TFormFill : public QObject {
  Q_OBJECT
  Q_PROPERTY(TFillStyle Style READ Style WRITE setStyle)
  Q_PROPERTY(TTileMode TileMode READ TileMode WRITE setTileMode)
  Q_PROPERTY(int OffsetX READ OffsetX WRITE setOffsetX)
  Q_PROPERTY(int OffsetY READ OffsetY WRITE setOffsetY)

 public:
  enum TFillStyle { sfBrush, sfBitmap };
  Q_ENUM(TFillStyle)
  enum TTileMode { tmTile, tmCenter, tmStretch };
  Q_ENUM(TTileMode)

  explicit TFormFill(QObject* parent = nullptr) : QObject(parent) {}

  TFillStyle Style() const { return style_; }
  void setStyle(TFillStyle s);
  TTileMode TileMode() const { return tileMode_; }
  void setTileMode(TTileMode m);
  int OffsetX() const { return offsetX_; }
  void setOffsetX(int x);
  int OffsetY() const { return offsetY_; }
  void setOffsetY(int y);
  const QImage& Picture() const { return picture_; }
  void setPicture(const QImage& picture);

  // Takes over the background of `form` (one window at a time); detaches
  // from the previous one. The fill detaches itself when either goes.
  void Attach(QWidget* form);
  QWidget* Form() const { return form_; }
  // Asks the window to repaint, background first.
  void update();

  // Paints the background of a window of the given client size.
  void PaintBackground(QPainter& painter, QSize client) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TFillStyle style_ = sfBrush;
  TTileMode tileMode_ = tmTile;
  int offsetX_ = 0, offsetY_ = 0;
  QImage picture_;
  QImage tile_;  // the picture in a format that draws without conversion
  QPointer<QWidget> form_;
};

}  // namespace dorvane::controls
