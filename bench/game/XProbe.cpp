// A light look at a few window pixels: one X connection kept open and only the block
// asked for read back, so that watching for the first frame costs the program under
// measure next to nothing (reading the whole window every 2 ms took a core).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <string>

namespace {

::Window FindTitled(::Display* d, ::Window w, const char* title) {
  char* name = nullptr;
  if (XFetchName(d, w, &name) && name) {
    const bool match = std::strcmp(name, title) == 0;
    XFree(name);
    if (match) return w;
  }
  ::Window root, parent, *children = nullptr;
  unsigned n = 0;
  ::Window found = 0;
  if (XQueryTree(d, w, &root, &parent, &children, &n)) {
    for (unsigned k = 0; k < n && !found; ++k) found = FindTitled(d, children[k], title);
    if (children) XFree(children);
  }
  return found;
}

int IgnoreErrors(::Display*, XErrorEvent*) {
  return 0;  // the window may go while we look
}

}  // namespace

// TRUE when some pixel of [x0, x1) x [y0, y1) of the window titled "Graph" is white.
bool WhiteInGraphWindow(const std::string& display, int x0, int y0, int x1, int y1) {
  static ::Display* d = [&] {
    XSetErrorHandler(IgnoreErrors);
    return XOpenDisplay(display.c_str());
  }();
  if (d == nullptr) return false;
  static ::Window w = 0;  // looked for until found, then kept: one round trip a look
  if (w == 0) w = FindTitled(d, DefaultRootWindow(d), "Graph");
  if (w == 0) return false;
  XImage* image = XGetImage(d, w, x0, y0, x1 - x0, y1 - y0, AllPlanes, ZPixmap);
  if (image == nullptr) {
    w = 0;  // gone (a later program's window is another one)
    return false;
  }
  bool white = false;
  for (int y = 0; y < y1 - y0 && !white; ++y)
    for (int x = 0; x < x1 - x0 && !white; ++x)
      white = (XGetPixel(image, x, y) & 0xFFFFFF) == 0xFFFFFF;
  XDestroyImage(image);
  return white;
}
