// What the window needs from the display servers besides SDL: a few X11 requests, the
// program's handling of X errors, and a look at what a Wayland compositor offers.
#pragma once

struct _XDisplay;  // Xlib's Display

namespace Graph::detail {

// Whether a window manager runs on the display.
bool WindowManagerRuns(_XDisplay* display);
// Asks for a title bar with a close box and a minimise box, no maximise box.
void OfferNoMaximise(_XDisplay* display, unsigned long window);
// Puts the program's X error handlers in force, once, before SDL's video starts: SDL chains
// its own handler to the one it finds and puts that one back when its video ends.
void HandleXErrors();
// Whether the Wayland compositor (WAYLAND_DISPLAY, else the default one) offers what
// SDL's Wayland driver needs to start and show a window.
bool WaylandOffersWindows();

}  // namespace Graph::detail
