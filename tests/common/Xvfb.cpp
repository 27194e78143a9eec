#include "tests/common/Xvfb.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace testing_x {

namespace {

using namespace std::chrono_literals;

// X errors inside these helpers (a window vanishing between two requests) are expected
// and ignored. Installed before main, so that the code under test chains its own handler to
// this one; other errors go on to the one there before.
thread_local bool quiet = false;
const XErrorHandler previousHandler = XSetErrorHandler([](::Display* d, XErrorEvent* e) {
  return quiet ? 0 : previousHandler ? previousHandler(d, e) : 0;
});

template <typename F>
auto WithDisplay(const std::string& name, F f) -> decltype(f(nullptr)) {
  ::Display* d = XOpenDisplay(name.c_str());
  if (!d) return {};
  quiet = true;
  auto result = f(d);
  XCloseDisplay(d);  // reports the last errors, still quietly
  quiet = false;
  return result;
}

std::string NameOf(::Display* d, ::Window w) {
  XTextProperty p{};
  if (!XGetWMName(d, w, &p) || !p.value) return "";
  std::string name(reinterpret_cast<char*>(p.value), p.nitems);
  XFree(p.value);
  return name;
}

// Without a window manager the top-level windows are the root's children; a window manager
// puts each into a frame of its own, a level or two further down.
::Window FindTitled(::Display* d, const std::string& title, ::Window under = None, int depth = 0) {
  ::Window root, parent, *children = nullptr, found = None;
  unsigned int n = 0;
  XQueryTree(d, under != None ? under : DefaultRootWindow(d), &root, &parent, &children, &n);
  for (unsigned int i = n; i-- > 0 && found == None;) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable) continue;
    if (NameOf(d, children[i]) == title) found = children[i];
    if (found == None && depth < 2) found = FindTitled(d, title, children[i], depth + 1);
  }
  XFree(children);
  return found;
}

}  // namespace

XvfbServer::XvfbServer(const std::string& screen) {
  if (const char* d = std::getenv("DISPLAY")) previousDisplay_ = d;
  int ready[2];
  if (pipe(ready) != 0) return;
  const pid_t pid = fork();
  if (pid == 0) {
    // The server goes with the test process, however that ends, and holds none of its
    // files: a test harness reading the test's pipes must not wait for the server.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int null = open("/dev/null", O_RDWR);
    if (dup2(ready[1], 3) != 3 || dup2(null, 1) != 1 || dup2(null, 2) != 2) _exit(126);
    close_range(4, ~0u, 0);
    // It writes its number to fd 3 once it accepts connections. -noreset: else it resets
    // when its last client leaves and refuses whoever connects meanwhile.
    execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ready[1]);
  // The number ends with a newline; a server whose pipe closes before that dies of it.
  std::string number;
  char c = 0;
  pollfd p{ready[0], POLLIN, 0};
  while (pid > 0 && c != '\n' && poll(&p, 1, 10000) == 1 && read(ready[0], &c, 1) == 1) number += c;
  close(ready[0]);
  if (c != '\n') {
    if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    return;
  }
  pid_ = pid;
  display_ = ":" + std::to_string(std::atoi(number.c_str()));
  setenv("DISPLAY", display_.c_str(), 1);
}

void XvfbServer::Kill() {
  if (pid_ > 0) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0), pid_ = 0;
}

XvfbServer::~XvfbServer() {
  if (pid_ < 0) return;  // never started: DISPLAY untouched
  // SIGTERM lets it remove its socket file.
  if (pid_ > 0) kill(pid_, SIGTERM), waitpid(pid_, nullptr, 0);
  previousDisplay_ ? setenv("DISPLAY", previousDisplay_->c_str(), 1) : unsetenv("DISPLAY");
}

std::optional<WindowPixels> ReadWindowPixels(const std::string& display, const std::string& title) {
  return WithDisplay(display, [&](::Display* d) -> std::optional<WindowPixels> {
    const ::Window w = FindTitled(d, title);
    XWindowAttributes a;
    XImage* image = w != None && XGetWindowAttributes(d, w, &a)
                        ? XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap)
                        : nullptr;
    if (!image) return std::nullopt;
    WindowPixels out{a.width, a.height, {}};
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x)
        out.pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
    XDestroyImage(image);
    return out;
  });
}

bool WaitForWindow(const std::string& display, const std::string& title,
                   std::chrono::milliseconds timeout) {
  for (auto end = std::chrono::steady_clock::now() + timeout;
       std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms))
    if (WithDisplay(display, [&](::Display* d) { return FindTitled(d, title); })) return true;
  return false;
}

void CoverAndUncover(const std::string& display, int x, int y, int width, int height) {
  WithDisplay(display, [&](::Display* d) {
    const ::Window cover =
        XCreateSimpleWindow(d, DefaultRootWindow(d), x, y, width, height, 0, 0, 0x123456);
    XMapRaised(d, cover);
    XSync(d, False);
    std::this_thread::sleep_for(100ms);
    XDestroyWindow(d, cover);
    return XSync(d, False);
  });
}

bool CloseWindow(const std::string& display, const std::string& title) {
  return WithDisplay(display, [&](::Display* d) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = FindTitled(d, title);
    e.xclient.format = 32;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    return e.xclient.window != None && XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
  });
}

bool CloseByWindowManager(const std::string& display, const std::string& title) {
  return WithDisplay(display, [&](::Display* d) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = FindTitled(d, title);
    e.xclient.format = 32;
    e.xclient.message_type = XInternAtom(d, "_NET_CLOSE_WINDOW", False);
    e.xclient.data.l[1] = 2;  // from a pager or a task bar: the user's own request
    return e.xclient.window != None &&
           XSendEvent(d, DefaultRootWindow(d), False,
                      SubstructureRedirectMask | SubstructureNotifyMask, &e) &&
           XSync(d, False);
  });
}

WindowManager::WindowManager(const std::string& display) {
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int null = open("/dev/null", O_RDWR);
    if (dup2(null, 0) != 0 || dup2(null, 1) != 1 || dup2(null, 2) != 2) _exit(126);
    close_range(3, ~0u, 0);
    setenv("DISPLAY", display.c_str(), 1);
    execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
    _exit(127);
  }
  pid_ = pid;
  // It runs once it names itself on the root window.
  for (int waited = 0; pid_ > 0 && waited < 10000; waited += 20) {
    if (WithDisplay(display, [](::Display* d) {
          const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
          Atom type;
          int format;
          unsigned long count = 0, after;
          unsigned char* data = nullptr;
          XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, AnyPropertyType, &type,
                             &format, &count, &after, &data);
          if (data) XFree(data);
          return count == 1;
        })) {
      running_ = true;
      return;
    }
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;
    std::this_thread::sleep_for(20ms);
  }
}

WindowManager::~WindowManager() {
  if (pid_ > 0) kill(pid_, SIGTERM), waitpid(pid_, nullptr, 0);
}

bool DestroyWindow(const std::string& display, const std::string& title) {
  return WithDisplay(display, [&](::Display* d) {
    const ::Window w = FindTitled(d, title);
    return w != None && XDestroyWindow(d, w) && XSync(d, False);
  });
}

XStandIn::XStandIn(const std::string& display, const std::string& title)
    : display_(XOpenDisplay(display.c_str())) {
  if (!display_) return;
  ::Window w = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 600, 600, 200, 100, 0, 0,
                                   0x202020);
  XStoreName(display_, w, title.c_str());
  XSelectInput(display_, w, StructureNotifyMask);
  XMapWindow(display_, w);
  for (XEvent e{}; e.type != MapNotify;) XNextEvent(display_, &e);
  Focus(display, title);
}

XStandIn::~XStandIn() {
  if (display_) XCloseDisplay(display_);  // the window goes with its connection
}

std::string FocusedTitle(const std::string& display) {
  return WithDisplay(display, [](::Display* d) {
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    return focus > PointerRoot ? NameOf(d, focus) : std::string();
  });
}

void Focus(const std::string& display, const std::string& title) {
  WithDisplay(display, [&](::Display* d) {
    return XSetInputFocus(d, FindTitled(d, title), RevertToParent, CurrentTime);
  });
}

}  // namespace testing_x
