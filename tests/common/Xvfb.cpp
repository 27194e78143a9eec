#include "tests/common/Xvfb.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <set>
#include <thread>

namespace testing_x {

namespace {

using namespace std::chrono_literals;

// The window's title: _NET_WM_NAME (UTF-8, as SDL sets it), else WM_NAME.
std::string NameOf(::Display* d, ::Window w) {
  XTextProperty p{};
  Atom netName = XInternAtom(d, "_NET_WM_NAME", True);
  bool got = (netName != None && XGetTextProperty(d, w, &p, netName)) || XGetWMName(d, w, &p);
  if (!got || !p.value) return "";
  std::string name(reinterpret_cast<char*>(p.value), p.nitems);
  XFree(p.value);
  return name;
}

::Window FindTitled(::Display* d, ::Window w, const std::string& title) {
  XWindowAttributes attrs;
  if (XGetWindowAttributes(d, w, &attrs) && attrs.map_state == IsViewable && NameOf(d, w) == title)
    return w;
  ::Window root, parent, *children = nullptr;
  unsigned int n = 0;
  ::Window found = None;
  if (XQueryTree(d, w, &root, &parent, &children, &n)) {
    for (unsigned int i = n; i-- > 0 && found == None;) found = FindTitled(d, children[i], title);
    if (children) XFree(children);
  }
  return found;
}

// The helpers' own connections, whose X errors (a window vanishing between two requests)
// are expected and ignored. The handler is installed before main, so that whatever the
// code under test installs later chains to it; errors of other connections go on to the
// handler that was there before.
std::mutex connectionsLock;
std::set<::Display*> connections;
XErrorHandler previousHandler = nullptr;

int IgnoreOwnErrors(::Display* d, XErrorEvent* e) {
  {
    std::lock_guard lock(connectionsLock);
    if (connections.count(d)) return 0;
  }
  return previousHandler ? previousHandler(d, e) : 0;
}

const bool handlerInstalled = [] {
  previousHandler = XSetErrorHandler(IgnoreOwnErrors);
  return true;
}();

::Display* Connect(const std::string& name) {
  ::Display* d = XOpenDisplay(name.c_str());
  if (d) {
    std::lock_guard lock(connectionsLock);
    connections.insert(d);
  }
  return d;
}

void Disconnect(::Display* d) {
  XCloseDisplay(d);  // reports the last errors, still as this helper's own
  std::lock_guard lock(connectionsLock);
  connections.erase(d);
}

// Runs `f` on a fresh connection, ignoring X errors (a window may vanish meanwhile).
template <typename F>
auto WithDisplay(const std::string& name, F f) -> decltype(f(nullptr)) {
  ::Display* d = Connect(name);
  if (!d) return decltype(f(nullptr)){};
  auto result = f(d);
  Disconnect(d);
  return result;
}

}  // namespace

XvfbServer::XvfbServer() {
  if (const char* d = std::getenv("DISPLAY")) previousDisplay_ = d;
  // Numbers spread by process id so that parallel tests rarely meet; a taken number
  // makes Xvfb exit at once and the next is tried.
  for (int attempt = 0; attempt < 40 && pid_ < 0; ++attempt) {
    int n = 100 + (getpid() * 7 + attempt) % 800;
    const std::string name = ":" + std::to_string(n);
    if (access(("/tmp/.X" + name.substr(1) + "-lock").c_str(), F_OK) == 0 ||
        access(("/tmp/.X11-unix/X" + name.substr(1)).c_str(), F_OK) == 0)
      continue;
    pid_t pid = fork();
    if (pid < 0) return;
    if (pid == 0) {
      // The server goes with the test process, however that ends, and holds none of its
      // files: a test harness reading the test's pipes must not wait for the server.
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      int null = open("/dev/null", O_RDWR);
      dup2(null, 1);
      dup2(null, 2);
      for (int fd = 3, top = static_cast<int>(sysconf(_SC_OPEN_MAX)); fd < top && fd < 65536; ++fd)
        close(fd);
      // -noreset: otherwise the server resets when its last client leaves, and a program
      // connecting during the reset is refused.
      execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
             "-noreset", static_cast<char*>(nullptr));
      _exit(127);
    }
    bool up = false;
    for (auto deadline = std::chrono::steady_clock::now() + 10s;
         !up && std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(20ms)) {
      if (waitpid(pid, nullptr, WNOHANG) == pid) break;  // died: number taken, or no Xvfb
      up = WithDisplay(name, [](::Display*) { return true; });
    }
    if (!up) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      continue;
    }
    pid_ = pid;
    display_ = name;
    setenv("DISPLAY", name.c_str(), 1);
  }
}

void XvfbServer::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = 0;
}

XvfbServer::~XvfbServer() {
  if (pid_ < 0) return;  // never started: DISPLAY untouched
  if (pid_ > 0) kill(pid_, SIGTERM);
  for (int i = 0; pid_ > 0 && i < 100; ++i) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = 0;
    std::this_thread::sleep_for(20ms);
  }
  Kill();
  if (previousDisplay_)
    setenv("DISPLAY", previousDisplay_->c_str(), 1);
  else
    unsetenv("DISPLAY");
}

std::optional<WindowPixels> ReadWindowPixels(const std::string& display, const std::string& title) {
  return WithDisplay(display, [&](::Display* d) -> std::optional<WindowPixels> {
    ::Window w = FindTitled(d, DefaultRootWindow(d), title);
    if (w == None) return std::nullopt;
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(d, w, &attrs)) return std::nullopt;
    XImage* image = XGetImage(d, w, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    WindowPixels out;
    out.width = attrs.width;
    out.height = attrs.height;
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
      for (int x = 0; x < out.width; ++x)
        out.pixels[static_cast<std::size_t>(y) * out.width + x] =
            static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
    XDestroyImage(image);
    return out;
  });
}

bool WaitForWindow(const std::string& display, const std::string& title,
                   std::chrono::milliseconds timeout) {
  for (auto deadline = std::chrono::steady_clock::now() + timeout;
       std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(20ms))
    if (WithDisplay(display,
                    [&](::Display* d) { return FindTitled(d, DefaultRootWindow(d), title); }))
      return true;
  return false;
}

void CoverAndUncover(const std::string& display, int x, int y, int width, int height) {
  WithDisplay(display, [&](::Display* d) {
    XSetWindowAttributes attrs{};
    attrs.override_redirect = True;
    attrs.background_pixel = 0x123456;
    ::Window cover = XCreateWindow(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                                   static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                                   CopyFromParent, CWOverrideRedirect | CWBackPixel, &attrs);
    XMapRaised(d, cover);
    XSync(d, False);
    std::this_thread::sleep_for(100ms);
    XDestroyWindow(d, cover);
    XSync(d, False);
    return true;
  });
}

bool CloseWindow(const std::string& display, const std::string& title) {
  return WithDisplay(display, [&](::Display* d) {
    ::Window w = FindTitled(d, DefaultRootWindow(d), title);
    if (w == None) return false;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    return true;
  });
}

XStandIn::XStandIn(const std::string& display, const std::string& title) {
  ::Display* d = display_ = Connect(display);
  if (!d) return;
  window_ = XCreateSimpleWindow(d, DefaultRootWindow(d), 600, 600, 200, 100, 0, 0, 0x202020);
  XStoreName(d, window_, title.c_str());
  XSelectInput(d, window_, StructureNotifyMask);
  XMapWindow(d, window_);
  for (XEvent e; XNextEvent(d, &e), e.type != MapNotify;) {
  }
  Focus(window_);
}

XStandIn::~XStandIn() {
  if (!display_) return;
  XDestroyWindow(display_, window_);
  Disconnect(display_);
}

unsigned long XStandIn::FocusedWindow() const {
  ::Window focus = None;
  int revert = 0;
  if (display_) XGetInputFocus(display_, &focus, &revert);
  return focus;
}

unsigned long XStandIn::Find(const std::string& title) const {
  return display_ ? FindTitled(display_, DefaultRootWindow(display_), title) : None;
}

void XStandIn::Focus(unsigned long window) const {
  if (!display_) return;
  XSetInputFocus(display_, window, RevertToParent, CurrentTime);
  XSync(display_, False);
}

}  // namespace testing_x
