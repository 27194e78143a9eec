// What the window needs from the X server besides SDL: a few X11 requests, and the
// program's handling of X errors.
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

}  // namespace Graph::detail
