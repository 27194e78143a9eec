// What the window needs from X11 besides SDL: the program's handling of X errors, and a few
// requests on the window where SDL shows it through X11.
#pragma once

#include <SDL2/SDL.h>

struct _XDisplay;  // Xlib's Display

namespace Graph::detail {

// Puts the program's X error handlers in force, once, before SDL's video starts: SDL chains
// its own handler to the one it finds and puts that one back when its video ends.
void HandleXErrors();

// The window's X11 side; on other drivers it does nothing. Window thread only.
class X11Window {
 public:
  // Takes SDL's window as made, before it is shown: its class ("graph", "GraphWnd"), a
  // title bar with a close box and a minimise box and no maximise box, and the window that
  // has the keyboard focus meanwhile. From here SDL passes on the X events, so that a
  // destruction of the window is seen.
  void Adopt(SDL_Window* window);
  bool OnX11() const { return display_ != nullptr; }
  // Whether a window manager runs on the display.
  bool WindowManagerRuns() const;
  // Whether the event is the window's destruction by another client (xdotool's windowclose
  // does it): a closed window.
  bool Destroyed(const SDL_Event& e);
  // The console keeps the keyboard: the focus goes back to the window that had it before
  // the window showed; the window takes it only when clicked later.
  void GiveFocusBack() const;
  // Just before SDL destroys the window.
  void Release();

 private:
  _XDisplay* display_ = nullptr;
  unsigned long window_ = 0;
  unsigned long previousFocus_ = 0;
  bool gone_ = false;  // destroyed by another client
};

}  // namespace Graph::detail
