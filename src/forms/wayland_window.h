#pragma once
// What the toolkit's Wayland platform keeps to itself, reached for the few
// places where a window of the program must act before the toolkit does.
class QEvent;
class QObject;
class QWindow;

namespace dorvane::forms {

// Whether the application runs on a Wayland compositor.
bool OnWayland();

// The window whose last configure from the compositor (a new state, size or
// activation) the toolkit applies when `receiver` takes `event`; nullptr for
// any other event. The toolkit acknowledges the configure as it applies it.
QWindow* WindowTakingConfigure(const QObject* receiver, const QEvent* event);

// Takes the window's surface off the screen (no buffer), so that the
// compositor hands the keyboard on at once instead of after its closing
// animation. Does nothing off Wayland.
void UnmapSurface(QWindow& window);

}  // namespace dorvane::forms
