#pragma once

// Picks the window system before the application starts, so that a desktop
// without a reachable display gets one clear message instead of Qt's abort.

namespace qx {

// Sets the platform when the player has not: X11 where an X server answers
// (on a Wayland desktop through XWayland, which lets the fixed window
// positions of the design hold), else Wayland where its socket is there.
// Returns false when neither can be reached.
bool chooseWindowSystem();

} // namespace qx
