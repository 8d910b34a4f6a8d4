#pragma once
// Setters of published properties: compare first, store only a real change,
// and say whether there was one, so that repaints and the work a change sets
// off happen only when something changed.
#include <type_traits>

namespace dorvane::gfx {

// Stores value in field if it differs; true when it did.
template <class T>
bool SetField(T& field, const std::type_identity_t<T>& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// The setter of a property that only changes the look: stores a change and
// asks the widget (anything with update()) for a repaint.
template <class Widget, class T>
bool SetAndUpdate(Widget& widget, T& field, const std::type_identity_t<T>& value) {
  if (!SetField(field, value)) return false;
  widget.update();
  return true;
}

}  // namespace dorvane::gfx
