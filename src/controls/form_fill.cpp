#include "controls/form_fill.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

#include "gfx/property.h"

namespace dorvane::controls {

void TFormFill::setStyle(TFillStyle s) {
  gfx::SetAndUpdate(*this, style_, s);
}

void TFormFill::setTileMode(TTileMode m) {
  gfx::SetAndUpdate(*this, tileMode_, m);
}

void TFormFill::setOffsetX(int x) {
  gfx::SetAndUpdate(*this, offsetX_, x);
}

void TFormFill::setOffsetY(int y) {
  gfx::SetAndUpdate(*this, offsetY_, y);
}

void TFormFill::setPicture(const QImage& picture) {
  picture_ = picture;
  // Converted once: drawing a palette picture would convert it at every paint.
  tile_ = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                            : QImage::Format_RGB32);
  update();
}

void TFormFill::update() {
  if (form_) form_->update();
}

void TFormFill::Attach(QWidget* form) {
  if (form_ == form) return;
  if (form_) {
    form_->removeEventFilter(this);
    form_->setAttribute(Qt::WA_OpaquePaintEvent, false);
  }
  form_ = form;
  if (!form_) return;
  form_->installEventFilter(this);
  // The fill covers every pixel: the window's own erase is not needed.
  form_->setAttribute(Qt::WA_OpaquePaintEvent, true);
  form_->update();
}

void TFormFill::PaintBackground(QPainter& painter, QSize client) const {
  // One pixel more than the client area each way, as the window erases it.
  const QRect area(0, 0, client.width() + 1, client.height() + 1);
  if (style_ != sfBitmap || tile_.isNull()) {
    painter.fillRect(area, form_ ? form_->palette().color(QPalette::Window) : QColor(Qt::white));
    return;
  }
  const int w = tile_.width(), h = tile_.height();
  switch (tileMode_) {
    case tmTile:
      // Full copies from the top-left corner; the window clips the last ones.
      for (int col = 0; col <= area.width() / w; ++col)
        for (int row = 0; row <= area.height() / h; ++row)
          painter.drawImage(QPoint(offsetX_ + col * w, offsetY_ + row * h), tile_);
      break;
    case tmCenter:
      painter.fillRect(area, form_ ? form_->palette().color(QPalette::Window) : QColor(Qt::white));
      painter.drawImage(QPoint(offsetX_ + (area.width() - w) / 2, offsetY_ + (area.height() - h) / 2), tile_);
      break;
    case tmStretch:
      painter.drawImage(area.translated(offsetX_, offsetY_), tile_);
      break;
  }
}

bool TFormFill::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_ && event->type() == QEvent::Paint) {
    QPainter painter(form_);
    PaintBackground(painter, form_->size());
  }
  // The window's own painting runs as well, over the background.
  return QObject::eventFilter(watched, event);
}

}  // namespace dorvane::controls
