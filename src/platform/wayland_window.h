#pragma once
// What the toolkit's Wayland platform keeps to itself, reached for the few
// places where a window of the program must tell the compositor more than
// the toolkit does.
class QSize;
class QWindow;

namespace dorvane::platform {

// Whether the application runs on a Wayland compositor.
bool OnWayland();

// Tells the compositor the least and the largest size of the window, its
// decorations included. Does nothing off Wayland or before the window has
// shown.
void TellCompositorSizeLimits(QWindow& window, QSize minimum, QSize maximum);

// Takes the window's surface off the screen (no buffer), so that the
// compositor hands the keyboard on at once instead of after its closing
// animation. Does nothing off Wayland.
void UnmapSurface(QWindow& window);

}  // namespace dorvane::platform
