#include "forms/dial_preview.h"

#include <QPainter>
#include <algorithm>

#include "core/decimal.h"
#include "gfx/canvas.h"

namespace dorvane::forms {
namespace {

constexpr gfx::Colour kGround = 0xC0C0C0;
constexpr int kRoom = 4;  // pixels of ground around the page

}  // namespace

TDialPreview::TDialPreview(QWidget* parent) : QWidget(parent) {
  setAccessibleName(QString::fromUtf8("Aperçu du cadran"));
}

void TDialPreview::SetPicture(std::optional<DialPicture> picture) {
  picture_ = std::move(picture);
  if (picture_) layout_ = LayoutDial(*picture_);
  // What the picture shows, for a screen reader: each mark and its angle.
  QStringList marks;
  if (picture_)
    for (const DialMark& m : picture_->marks)
      marks << QString::fromUtf8("%1 à %2°")
                   .arg(QString::fromStdString(DialMarkLabel(m.level, picture_->unit, picture_->separator)),
                        QString::fromStdString(FormatDecimal(m.angleDegrees, 1, picture_->separator)));
  setAccessibleDescription(marks.join(QStringLiteral(", ")));
  update();
}

void TDialPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  gfx::Canvas canvas(painter);
  canvas.fillRect({0, 0, width(), height()}, kGround);
  if (!picture_ || layout_.page.isEmpty()) return;
  const double unitsPerMm =
      std::min((width() - 2 * kRoom) / layout_.page.width(), (height() - 2 * kRoom) / layout_.page.height());
  if (!(unitsPerMm > 0)) return;
  const QPointF origin((width() - layout_.page.width() * unitsPerMm) / 2,
                       (height() - layout_.page.height() * unitsPerMm) / 2);
  DrawDial(canvas, *picture_, layout_, unitsPerMm, origin);
}

}  // namespace dorvane::forms
