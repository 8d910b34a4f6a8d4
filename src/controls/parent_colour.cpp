#include "controls/parent_colour.h"

#include <QWidget>

namespace dorvane::controls {

gfx::Colour ParentColour(const QWidget& widget, gfx::Colour own) {
  const QWidget* parent = widget.parentWidget();
  return parent ? gfx::FromQColor(parent->palette().color(QPalette::Window)) : own;
}

}  // namespace dorvane::controls
