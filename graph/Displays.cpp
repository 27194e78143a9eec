#include "graph/Displays.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <unistd.h>
#include <wayland-client.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

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

}  // namespace

bool WindowManagerRuns(Display* display) {
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

// Motif window hints.
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

void HandleXErrors() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  previousXErrorHandler = XSetErrorHandler(TolerateVanishedWindows);
  XSetIOErrorHandler(ConnectionLost);
}

// SDL 2.26's Wayland driver crashes while starting where the compositor offers no seat
// (a headless one, one without input devices), and shows no window without a shell.
bool WaylandOffersWindows() {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) return false;
  static constexpr const char* kNeeded[] = {"wl_compositor", "wl_shm", "xdg_wm_base", "wl_seat"};
  static const wl_registry_listener listener = {
      [](void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
        for (unsigned i = 0; i < std::size(kNeeded); ++i)
          if (std::strcmp(interface, kNeeded[i]) == 0) *static_cast<unsigned*>(data) |= 1u << i;
      },
      [](void*, wl_registry*, std::uint32_t) {}};
  unsigned offered = 0;
  wl_registry* registry = wl_display_get_registry(display);
  bool ok = registry && wl_registry_add_listener(registry, &listener, &offered) == 0 &&
            wl_display_roundtrip(display) >= 0 && offered == (1u << std::size(kNeeded)) - 1;
  if (registry) wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return ok;
}

}  // namespace Graph::detail
