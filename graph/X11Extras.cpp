#include "graph/X11Extras.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace Graph::detail {

namespace {

XErrorHandler previousXErrorHandler = nullptr;

// Errors about a window that is gone are harmless: another client may destroy the window
// (the program then goes on as after a close, see SdlWindow), SDL wakes its event wait by
// sending an event to its window from a second connection, which the X server may take
// only after the window went, and the focus goes back to a window that may have gone
// meanwhile. A window or drawable that no longer exists is met as BadWindow or BadDrawable,
// whatever the request (SDL's own, its input method's, XInput's); a GC that SDL made for it
// after it went was never made either (BadGC when SDL frees it); a focus set on a window no
// longer shown is a BadMatch. Any other error goes where it went before.
int TolerateVanishedWindows(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable ||
      error->error_code == BadGC)
    return 0;
  if (error->error_code == BadMatch && error->request_code == X_SetInputFocus) return 0;
  return previousXErrorHandler ? previousXErrorHandler(display, error) : 0;
}

// The connection to the X server broke (the server died, or the program's connection was
// killed): the program cannot go on. Xlib's own handler would call exit() on this thread
// while the game thread runs on, and the static objects it uses would be destroyed under
// it; a quick exit ends at once, and the quick-exit handlers still give the terminal back.
int ConnectionLost(Display*) {
  static std::atomic<bool> ending{false};
  if (ending.exchange(true)) {
    for (;;) ::pause();  // another thread (another connection) is already ending it
  }
  constexpr char kText[] = "nova-gunner: the connection to the X server was lost\n";
  [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, kText, sizeof kText - 1);
  std::quick_exit(1);
}

bool AnyWindowManager(Display* display) {
  Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char* data = nullptr;
  bool runs = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                 &type, &format, &count, &after, &data) == Success &&
              count == 1;
  if (data) XFree(data);
  return runs;
}

// Asks for a title bar with a close box and a minimise box, no maximise box (Motif hints).
void OfferNoMaximise(Display* display, unsigned long window) {
  enum : unsigned long { kFunctions = 1, kDecorations = 2 };
  enum : unsigned long { kMove = 4, kMinimise = 8, kClose = 32 };
  enum : unsigned long { kBorder = 2, kTitle = 8, kMenu = 16, kMinimiseBox = 32 };
  unsigned long hints[5] = {kFunctions | kDecorations, kMove | kMinimise | kClose,
                            kBorder | kTitle | kMenu | kMinimiseBox, 0, 0};
  Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(hints), 5);
}

}  // namespace

void HandleXErrors() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  previousXErrorHandler = XSetErrorHandler(TolerateVanishedWindows);
  XSetIOErrorHandler(ConnectionLost);
}

void X11Window::Adopt(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  display_ = info.info.x11.display;
  window_ = info.info.x11.window;
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);  // to learn of the window's destruction
  char name[] = "graph", windowClass[] = "GraphWnd";
  XClassHint hint{name, windowClass};
  XSetClassHint(display_, window_, &hint);
  OfferNoMaximise(display_, window_);
  int revert = 0;
  ::Window focus = None;
  XGetInputFocus(display_, &focus, &revert);
  previousFocus_ = focus;
}

bool X11Window::WindowManagerRuns() const {
  return display_ && AnyWindowManager(display_);
}

bool X11Window::Destroyed(const SDL_Event& e) {
  if (!display_ || e.type != SDL_SYSWMEVENT || e.syswm.msg->subsystem != SDL_SYSWM_X11)
    return false;
  const XEvent& x = e.syswm.msg->msg.x11.event;
  if (x.type != DestroyNotify || x.xdestroywindow.window != window_) return false;
  gone_ = true;
  return true;
}

void X11Window::GiveFocusBack() const {
  if (!display_ || previousFocus_ == None || previousFocus_ == PointerRoot) return;
  SDL_Delay(50);
  XSetInputFocus(display_, previousFocus_, RevertToParent, CurrentTime);
  XFlush(display_);
}

void X11Window::Release() {
  if (gone_) {
    // SDL 2.26 hides a window before destroying it and waits for its unmapping, which a
    // window that is gone never reports: here is one for it to find.
    XEvent unmap{};
    unmap.xunmap.type = UnmapNotify;
    unmap.xunmap.display = display_;
    unmap.xunmap.event = unmap.xunmap.window = window_;
    XPutBackEvent(display_, &unmap);
  }
  *this = X11Window{};
}

}  // namespace Graph::detail
